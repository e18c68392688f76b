#!/usr/bin/env bash
# Builds the Debian package of the installed program (settings per user,
# prefix /usr, Debian's hardening flags) into BUILD_DIR, by default
# build-deb/, and prints the package's path on the last line.
#
#   bash scripts/package.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build="${1:-$ROOT/build-deb}"
install_missing "${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"

# Debian's compiler and linker flags, with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
configure_and_build "$build" \
    -DCMAKE_BUILD_TYPE=Release \
    -DTS_TESTS=OFF -DTS_BENCH=OFF \
    -DTS_PORTABLE=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
rm -f "$build"/tally-share_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$build"/tally-share_*.deb
