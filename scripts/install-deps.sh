#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those
# that are missing; the package lists are refreshed only when something is.
set -euo pipefail
packages=(cmake make g++ googletest libgtest-dev libbenchmark-dev
          wine wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
          xvfb xauth xdotool imagemagick x11-utils
          clang libclang-rt-14-dev clang-tidy cppcheck libcli11-dev nlohmann-json3-dev python3
          pkg-config libhivex-dev libhivex-bin liblnk-dev libbfio-dev libregf-utils ntfs-3g strace
          nsis zip unzip dpkg-dev lintian)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
