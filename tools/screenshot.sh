#!/usr/bin/env bash
# Renders the README's screenshot of the main window on the offscreen platform.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

install_missing "${RUN_PACKAGES[@]}"
build="$ROOT/build-tools"
cmake -S "$ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF -DTS_BENCH=OFF
cmake --build "$build" --target readme_screenshot -j "$JOBS"
mkdir -p "$ROOT/docs"
QT_QPA_PLATFORM=offscreen "$build/tools/readme_screenshot" "$ROOT/docs/main-window.png"
echo "wrote $ROOT/docs/main-window.png"
