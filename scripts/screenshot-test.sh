#!/usr/bin/env bash
# The window as a user first sees it: seeds a few entries with the
# command-line tool, starts LStartUp.exe, keeps a picture of the screen as
# build/artifacts/screenshot.png and checks that the window was drawn (the
# header strip's blue, and more than a handful of colours). Runs in the
# caller's throwaway prefix and display.
set -euo pipefail
cd "$(dirname "$0")/.."
cli() { scripts/wine-run.sh build/windows/lstartup-cli.exe "$@" >/dev/null; }
cli add --yes "Registry\\Current User\\Run" "Tray Helper" "C:\\Program Files\\Tray Helper\\helper.exe /tray"
cli add --yes "Registry\\Current User\\Run" "Updater" "%SystemRoot%\\notepad.exe /update"
cli disable --yes "Registry\\Current User\\Run" "Updater"
cli add --yes "Startup Folder\\Current User" "Notes" "C:\\windows\\notepad.exe"
# An entry Windows' own startup settings turned off, and one group policy starts.
reg() { WINEDEBUG=-all wine reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Chat /d 'C:\windows\regedit.exe /minimized'
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run' /v Chat /t REG_BINARY \
  /d 030000000000000000000000
reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer\Run' /v 'Corporate Agent' \
  /d 'C:\windows\notepad.exe'
picture=build/artifacts/screenshot.png
bash scripts/screenshot.sh "$picture"
header_pixels=$(convert "$picture" -fill black +opaque "rgb(101,152,214)" -fill white -opaque "rgb(101,152,214)" \
  -format "%[fx:round(mean*w*h)]" info:)
colours=$(identify -format "%k" "$picture")
echo "screenshot: $(pwd)/$picture ($header_pixels pixels of the header strip's blue, $colours colours)"
if [ "$header_pixels" -lt 5000 ] || [ "$colours" -lt 16 ]; then
  echo "the window was not drawn as expected" >&2
  exit 1
fi
