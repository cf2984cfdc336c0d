#!/usr/bin/env bash
# Packs the Linux tool of the build folder BUILD into OUT/lstartup-cli_VERSION_ARCH.deb:
# the stripped program, its man page, the copyright (from LICENSE), the
# notices of the libraries compiled in and a changelog, with the dependencies dpkg-shlibdeps finds in the program.
#   bash packaging/debian/build-deb.sh BUILD OUT
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/on-exit.sh
build=$1 out=$2
stage=$(mktemp -d /tmp/lstartup-deb.XXXXXX)
lsu_on_exit "rm -rf '$stage'"
root="$stage/root" doc="$stage/root/usr/share/doc/lstartup-cli"
control="$build/packaging/control"
field() { sed -n "s/^$1: //p" "$control"; }
version=$(field Version)
arch=$(dpkg --print-architecture)

umask 022
install -d "$root/DEBIAN" "$root/usr/bin" "$root/usr/share/man/man1" "$doc"
install -m 0755 "$build/lstartup-cli" "$root/usr/bin/lstartup-cli"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/bin/lstartup-cli"
gzip -9n <"$build/packaging/lstartup-cli.1" >"$root/usr/share/man/man1/lstartup-cli.1.gz"

# The licence in the machine-readable copyright format: LICENSE's first
# copyright line, its text indented, blank lines as " .".
{
  echo 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/'
  echo 'Upstream-Name: LStartUp'
  echo
  echo 'Files: *'
  echo "Copyright: $(sed -n 's/^Copyright (c) //p' LICENSE | head -1)"
  echo 'License: Expat'
  sed -n '/^Permission/,$p' LICENSE | sed 's/^$/./; s/^/ /'
} >"$doc/copyright"
bash packaging/third-party-notices.sh libcli11-dev nlohmann-json3-dev >"$doc/THIRD-PARTY-NOTICES"
# Dated by the last commit, so that the same source makes the same package.
{
  echo "lstartup-cli ($version) stable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- $(field Maintainer)  $(date -R -u -d "@$(git log -1 --format=%ct)")"
} | gzip -9n >"$doc/changelog.gz"

# dpkg-shlibdeps reads the package's name from a source tree's debian/control.
mkdir -p "$stage/source/debian"
printf 'Source: lstartup-cli\n\nPackage: lstartup-cli\nArchitecture: any\n' >"$stage/source/debian/control"
depends=$(cd "$stage/source" && dpkg-shlibdeps -O "$root/usr/bin/lstartup-cli" | sed -n 's/^shlibs:Depends=//p')
{
  sed '/^Description:/,$d' "$control"
  echo "Architecture: $arch"
  echo "Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)"
  echo "Depends: $depends"
  sed -n '/^Description:/,$p' "$control"
} >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
dpkg-deb --root-owner-group -Zxz --build "$root" "$out/lstartup-cli_${version}_${arch}.deb" >/dev/null
