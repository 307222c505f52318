#!/usr/bin/env bash
# Builds the Debian package: tools/package.sh [DIR] makes DIR/mindlark_VERSION_ARCH.deb
# (DIR defaults to build/package). It builds with Debian's hardening flags, and
# puts the commands in /usr/games, where Debian keeps games.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/package}
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
"$root/tools/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Release -DMINDLARK_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_BINDIR=games
cd "$dir"
rm -f ./*.deb
cpack -G DEB >/dev/null
ls "$dir"/mindlark_*.deb
