#!/usr/bin/env bash
# Makes the release files into one folder (build/release, or the one named),
# with SHA256SUMS over them:
#   LStartUp-VERSION-win64-portable.zip  both Windows programs, the README and the licences
#   LStartUp-VERSION-win64-setup.exe     the installer (NSIS, 64-bit), silent with /S
#   lstartup-cli_VERSION_ARCH.deb         the Linux tool for rescue systems, with its man page
# The version is project()'s in CMakeLists.txt.
#   bash scripts/release.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/on-exit.sh
out=$(realpath -m "${1:-build/release}")
bash scripts/install-deps.sh

# The Windows programs as the test command builds and tests them.
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target LStartUp lstartup-cli
# The Linux tool with Debian's hardening, and the writer of the theme manifest.
linux=build/linux-release
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$linux" -j2 --target lstartup-cli lsu_theme_manifest

version=$("$linux/lstartup-cli" --version | cut -d' ' -f2)
stage=$(mktemp -d /tmp/lstartup-release.XXXXXX)
lsu_on_exit "rm -rf '$stage'"
rm -rf "$out"
mkdir -p "$out"

# What both Windows files hold.
windows="$stage/LStartUp-$version"
mkdir "$windows"
for program in LStartUp.exe lstartup-cli.exe; do
  x86_64-w64-mingw32-strip --strip-unneeded -o "$windows/$program" "build/windows/$program"
done
cp README.md "$windows/README.md"
cp LICENSE "$windows/LICENSE.txt"
bash packaging/third-party-notices.sh libcli11-dev nlohmann-json3-dev mingw-w64-x86-64-dev \
  >"$windows/THIRD-PARTY-NOTICES.txt"
(cd "$stage" && TZ=UTC zip -q -X -r "$out/LStartUp-$version-win64-portable.zip" "LStartUp-$version")

installer="$stage/installer"
cp -r "$windows" "$installer"
cp src/ui/win32/res/app.ico "$installer/LStartUp.ico"
"$linux/lsu_theme_manifest" "$installer/LStartUp.exe.manifest"
makensis -V2 -DIDENTITY="$PWD/build/windows/packaging/ProductIdentity.nsh" -DSTAGE="$installer" \
  -DOUTFILE="$out/LStartUp-$version-win64-setup.exe" packaging/windows/LStartUp.nsi

bash packaging/debian/build-deb.sh "$linux" "$out"

(cd "$out" && sha256sum -- *.zip *.exe *.deb >SHA256SUMS)
echo "release $version in $out:"
ls -l "$out"
