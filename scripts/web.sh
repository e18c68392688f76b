#!/usr/bin/env bash
# Builds the web edition and serves it at http://localhost:8080 (service
# workers need localhost or https). `bash scripts/web.sh build` only builds;
# the site is then the folder build-web/site.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

PORT="${PORT:-8080}"

# Node may come from elsewhere (NodeSource); only what is missing is installed.
packages=(cmake ninja-build g++ qt6-base-dev emscripten "${WEB_SITE_PACKAGES[@]}")
command -v node >/dev/null 2>&1 || packages+=(nodejs)
install_missing "${packages[@]}"

# The host build draws the icons only.
cmake -S "$ROOT" -B "$ROOT/build-host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF \
    -DTS_BENCH=OFF >/dev/null
build_web "$ROOT/build-host"

if [ "${1:-}" = "build" ]; then
    echo "the site is in $ROOT/build-web/site"
    exit 0
fi
exec node "$ROOT/tests/web/server.mjs" "$ROOT/build-web/site" "$PORT"
