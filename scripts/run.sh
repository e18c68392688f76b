#!/usr/bin/env bash
# Installs what is missing, builds TALLY-SHARE and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_missing "${RUN_PACKAGES[@]}"
configure_and_build "$ROOT/build" -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF -DTS_BENCH=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built $ROOT/build/app/tally-share, but no desktop session was found" >&2
    echo "(DISPLAY and WAYLAND_DISPLAY are unset): start it from a graphical session." >&2
    exit 1
fi
echo "== starting $ROOT/build/app/tally-share (its settings file is $ROOT/build/app/ts.cfg)"
exec "$ROOT/build/app/tally-share"
