#!/usr/bin/env bash
# The release files as a user gets them: makes them with scripts/release.sh,
# checks their checksums and the zip's contents, installs the installer
# silently into the caller's throwaway prefix, starts the window from where
# it was installed until it lists a seeded entry (whose Publisher is our own
# program's), reads the uninstall entry, parks a Startup-folder item and
# uninstalls silently, which must keep it; then unpacks the Debian package,
# runs its tool and has lintian check it. Needs the prefix and display of
# scripts/wine-prefix.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/on-exit.sh
export LC_ALL=C
release=build/release
bash scripts/release.sh "$release" >/dev/null
version=$(build/linux-release/lstartup-cli --version | cut -d' ' -f2)
company=$(sed -n 's/^!define PRODUCT_COMPANY "\(.*\)"$/\1/p' build/windows/packaging/ProductIdentity.nsh)
product=$(sed -n 's/^!define PRODUCT_NAME "\(.*\)"$/\1/p' build/windows/packaging/ProductIdentity.nsh)
fail() {
  echo "release test: $*" >&2
  exit 1
}
expect() {  # expect WHAT ACTUAL EXPECTED
  [ "$2" = "$3" ] || fail "$1 is \"$2\", expected \"$3\""
}

(cd "$release" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
expect "the portable zip's contents" "$(unzip -Z1 "$release/LStartUp-$version-win64-portable.zip" | sort | tr '\n' ' ')" \
  "LStartUp-$version/ LStartUp-$version/LICENSE.txt LStartUp-$version/LStartUp.exe LStartUp-$version/README.md LStartUp-$version/THIRD-PARTY-NOTICES.txt LStartUp-$version/lstartup-cli.exe "

# Installed silently, as an administrator deploys it.
wine "$release/LStartUp-$version-win64-setup.exe" /S || fail "the silent install ended with code $?"
folder='C:\Program Files\LStartUp'
unix_folder=$(winepath -u "$folder")
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LStartUp'
registry_value() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
expect DisplayName "$(registry_value DisplayName)" "$product"
expect DisplayVersion "$(registry_value DisplayVersion)" "$version"
expect Publisher "$(registry_value Publisher)" "$company"
expect DisplayIcon "$(registry_value DisplayIcon)" "$folder\\LStartUp.exe,0"
expect UninstallString "$(registry_value UninstallString)" "\"$folder\\uninstall.exe\""
expect QuietUninstallString "$(registry_value QuietUninstallString)" "\"$folder\\uninstall.exe\" /S"
[ "$(($(registry_value EstimatedSize)))" -gt 100 ] || fail "EstimatedSize is $(registry_value EstimatedSize) KB"
shortcut=$(winepath -u "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\$product.lnk")
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
attributes=$(wine cmd /c attrib "$folder\\LStartUp.exe.manifest" | tr -d '\r')
[[ $attributes =~ ^[ARSHI\ ]*H[ARSHI\ ]*\ [A-Z]: ]] || fail "the theme manifest is missing or not hidden: $attributes"
[ -d "$unix_folder/Startup Folder/All Users" ] || fail "the installer made no all-users disabled-items folder"

# The installed window lists an entry that starts the installed program,
# and names our company as its publisher.
installed_cli=(wine "$folder\\lstartup-cli.exe")
expect "the installed tool's --version" "$("${installed_cli[@]}" --version | tr -d '\r')" "lstartup-cli $version"
"${installed_cli[@]}" add --yes 'Registry\Current User\Run' "$product" "\"$folder\\LStartUp.exe\"" >/dev/null
row=$(wine build/windows/lsu_window_rows.exe "$folder\\LStartUp.exe" "$product" | tr -d '\r') ||
  fail "the installed window did not list \"$product\": $row"
cell() { sed -n "s/^$1: //p" <<<"$row"; }
expect "the row's command line" "$(cell 'Command Line')" "\"$folder\\LStartUp.exe\""
expect "the row's Publisher" "$(cell Publisher)" "$company"
"${installed_cli[@]}" delete --yes 'Registry\Current User\Run' "$product" >/dev/null

# A parked item outlives the program.
"${installed_cli[@]}" add --yes 'Startup Folder\All Users' 'Release Check' 'C:\windows\notepad.exe' >/dev/null
"${installed_cli[@]}" disable 'Startup Folder\All Users' 'Release Check' >/dev/null
parked="$unix_folder/Startup Folder/All Users/Release Check.lnk"
[ -f "$parked" ] || fail "disabling did not park the item in $parked"
parked_sum=$(sha256sum <"$parked")
wine "$(registry_value UninstallString | tr -d '"')" /S
# The uninstaller runs on from a copy of itself and returns at once.
for _ in $(seq 300); do
  [ -e "$unix_folder/uninstall.exe" ] || [ -e "$unix_folder/LStartUp.exe" ] || break
  sleep 0.1
done
for gone in LStartUp.exe lstartup-cli.exe uninstall.exe LStartUp.exe.manifest README.md LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  [ ! -e "$unix_folder/$gone" ] || fail "the uninstaller left $gone"
done
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstaller left its uninstall entry"
[ -f "$parked" ] || fail "the uninstaller deleted the parked item $parked"
expect "the parked item's checksum" "$(sha256sum <"$parked")" "$parked_sum"
rm -rf "$unix_folder"

# The Debian package: its files, its tool and lintian's verdict.
deb="$release/lstartup-cli_${version}_$(dpkg --print-architecture).deb"
expect "the package's files" "$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sort | tr '\n' ' ')" \
  "./usr/bin/lstartup-cli ./usr/share/doc/lstartup-cli/THIRD-PARTY-NOTICES ./usr/share/doc/lstartup-cli/changelog.gz ./usr/share/doc/lstartup-cli/copyright ./usr/share/man/man1/lstartup-cli.1.gz "
unpacked=$(mktemp -d /tmp/lstartup-deb-check.XXXXXX)
lsu_on_exit "rm -rf '$unpacked'"
dpkg-deb -x "$deb" "$unpacked"
expect "the packaged tool's --version" "$("$unpacked/usr/bin/lstartup-cli" --version)" "lstartup-cli $version"
lintian --fail-on error --no-tag-display-limit "$deb" || fail "lintian reports errors on $deb"
echo "release $version: the installer installs, lists, uninstalls and keeps parked items; the .deb passes lintian"
