#!/usr/bin/env bash
# The Linux tool on an offline Windows tree lists what the Windows tool lists
# on a running one: the same entries are seeded into the throwaway Wine prefix
# and into an offline tree (the tools' own add and disable commands, and, for
# what the tools cannot write, Wine's reg and hivexsh), then the two
# `list --format json` outputs must be identical. Needs the prefix of
# scripts/wine-prefix.sh and both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
windows_tool=(wine build/windows/lstartup-cli.exe)
tree=$(mktemp -d /tmp/lstartup-offline.XXXXXX)
trap 'rm -rf "$tree"' EXIT
offline_tool=(build/native/lstartup-cli --offline "$tree")
drive_c="$WINEPREFIX/drive_c"
run_key='Software\Microsoft\Windows\CurrentVersion\Run'

# Empty every start-up source of the prefix: its keys in both views (the
# policy keys and Windows' startup switches too), the lines of win.ini's
# [windows] (in the registry) and [SM_Disabled] (in the file), the Startup
# folders and the Windows tool's disabled-items folders.
{
  echo 'REGEDIT4'
  for key in HKEY_LOCAL_MACHINE\\Software{,\\Wow6432Node}\\"${run_key#Software\\}"{,Once,OnceEx,Services,ServicesOnce} \
    HKEY_CURRENT_USER\\"$run_key"{,Once}; do
    printf '[-%s]\n[-%s-]\n' "$key" "$key"
  done
  for hive in HKEY_LOCAL_MACHINE\\Software{,\\Wow6432Node} HKEY_CURRENT_USER\\Software; do
    printf '[-%s\\Microsoft\\Windows\\CurrentVersion\\%s]\n' "$hive" 'Policies\Explorer\Run' "$hive" \
      'Explorer\StartupApproved'
  done
  printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]\n"Load"=-\n"Run"=-\n'
} >"$tree/empty.reg"
wine regedit /S "$(winepath -w "$tree/empty.reg")"
rm "$tree/empty.reg"
sed -i -E '/^(load|run)=/Id' "$drive_c/windows/win.ini"
# Wine names the user's folder "StartUp": folders are matched ignoring case, as Windows does.
find "$drive_c/users" "$drive_c/ProgramData" -ipath '*/start menu/programs/startup/*' -type f -delete
find "build/windows/Startup Folder" -type f -delete 2>/dev/null || true

# The offline tree of a 64-bit Windows whose Windows folder is named as
# Wine names its own, with the program files the entries name.
# A profile holds its local application data, where the tool keeps its journal.
mkdir -p "$tree/Windows/System32/config" "$tree/Program Files/LStartUp" "$tree/Users/Tester/AppData/Local" \
  "$tree/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup" \
  "$tree/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup"
touch "$tree/Windows/notepad.exe" "$tree/Windows/System32/notepad.exe"
printf '[fonts]\r\n' >"$tree/Windows/win.ini"
build/native/lsu_empty_hive "$tree/Windows/System32/config/SOFTWARE" "$tree/Users/Tester/NTUSER.DAT" \
  "$tree/Windows/System32/config/SYSTEM"
# hivexsh adds one key at a time: "+ NAME" goes into a new key, "/" back to the root.
hive_commands() {
  local word
  for word in "$@"; do
    case $word in
      +*) printf 'add %s\ncd %s\n' "${word#+}" "${word#+}" ;;
      /) echo 'cd \' ;;
      *) echo "$word" ;;
    esac
  done
  echo commit
}
hive_commands +Microsoft '+Windows NT' +CurrentVersion 'setval 1' SystemRoot 'string:C:\windows' / \
  +Wow6432Node +Microsoft +Windows +CurrentVersion +Run 'setval 1' Wow 'string:C:\windows\notepad.exe' |
  hivexsh -w "$tree/Windows/System32/config/SOFTWARE"
hive_commands +Software +Microsoft +Windows +CurrentVersion +Run 'setval 1' Expand \
  'expandstring:%SystemRoot%\system32\notepad.exe' / 'cd Software\Microsoft' '+Windows NT' +CurrentVersion \
  +Windows 'setval 2' Load 'string:C:\windows\notepad.exe' Run 'string:C:\Tools\absent.exe' |
  hivexsh -w "$tree/Users/Tester/NTUSER.DAT"
# A service, in the control set Select\Current names.
hive_commands +Select 'setval 1' Current 'dword:0x00000002' / +ControlSet002 +Services +LsuMatch 'setval 4' \
  Type 'dword:0x00000010' Start 'dword:0x00000002' ImagePath 'expandstring:C:\Tools\absent.exe' \
  DisplayName 'string:Match Service' | hivexsh -w "$tree/Windows/System32/config/SYSTEM"

# The same in the prefix: Wine keeps win.ini's [windows] section where
# Windows NT does.
wine reg add "HKCU\\$run_key" /v Expand /t REG_EXPAND_SZ /d '%SystemRoot%\system32\notepad.exe' /f >/dev/null
wine reg add "HKLM\\Software\\Wow6432Node\\${run_key#Software\\}" /v Wow /d 'C:\windows\notepad.exe' /f >/dev/null
for line in 'Load C:\windows\notepad.exe' 'Run C:\Tools\absent.exe'; do
  wine reg add 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v "${line%% *}" /d "${line#* }" /f >/dev/null
done
wine sc delete LsuMatch >/dev/null 2>&1 || true
wine reg delete 'HKLM\Software\LStartUp\Parked Services' /f >/dev/null 2>&1 || true
wine sc create LsuMatch binpath= 'C:\Tools\absent.exe' start= auto displayname= 'Match Service' >/dev/null

seed() {
  "$@" add 'Registry\Current User\Run' Present 'C:\windows\notepad.exe'
  "$@" add 'Registry\All Users\Run Once' 'Früh ✓' 'C:\Tools\absent.exe /quiet'
  "$@" add 'Startup Folder\Current User' Notes 'C:\windows\notepad.exe'
  "$@" add 'Startup Folder\All Users' Shared 'C:\Tools\absent.exe'
  "$@" disable 'Startup Folder\All Users' Shared
  "$@" disable 'Registry\All Users\Run Once' 'Früh ✓'
  "$@" disable 'Registry\Current User\Run' Expand
  "$@" disable 'Win.ini\Load' notepad
  "$@" disable Services 'Match Service'
}
seed "${windows_tool[@]}" >/dev/null
seed "${offline_tool[@]}" >/dev/null
"${windows_tool[@]}" list --format json >"$tree/windows_tool.json"
"${offline_tool[@]}" list --format json >"$tree/offline_tool.json"
wine sc delete LsuMatch >/dev/null
# The prefix's own services have no twin in the offline tree.
python3 - "$tree/windows_tool.json" <<'PYTHON'
import json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))
kept = [row for row in rows if row.get("serviceName", "LsuMatch") == "LsuMatch"]
open(sys.argv[1], "w", encoding="utf-8").write(json.dumps(kept, indent=2, ensure_ascii=False) + "\n")
PYTHON
python3 - "$tree/offline_tool.json" <<'PYTHON'
import json, sys
rows = json.load(open(sys.argv[1], encoding="utf-8"))
open(sys.argv[1], "w", encoding="utf-8").write(json.dumps(rows, indent=2, ensure_ascii=False) + "\n")
PYTHON
if ! diff -u "$tree/windows_tool.json" "$tree/offline_tool.json"; then
  echo "the Linux tool's list of the offline tree differs from the Windows tool's (above)"
  exit 1
fi
echo "both tools list the same $(grep -c '"name"' "$tree/offline_tool.json") entries"
