#!/usr/bin/env bash
# Prints the copyright notices and licences of the Debian packages named,
# whose code the programs carry compiled in (header-only libraries, and the
# MinGW-w64 runtime of the Windows programs), as their licences ask of every
# copy given on.
#   bash packaging/third-party-notices.sh PACKAGE...
set -euo pipefail
echo "The program carries code of the libraries below, under their licences."
for package in "$@"; do
  printf '\n==== %s\n\n' "$package"
  cat "/usr/share/doc/$package/copyright"
done
