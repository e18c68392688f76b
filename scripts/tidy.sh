#!/usr/bin/env bash
# Runs clang-tidy over the program's sources with the compile commands of a
# configured build folder. Any finding fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build="${1:-$ROOT/build-test}"
mapfile -t files < <(git -C "$ROOT" ls-files 'model/*.cpp' 'storage/*.cpp' 'platform/*.cpp' \
    'ui/*.cpp' 'app/*.cpp' 'resources/*.cpp' 'tools/*.cpp' | sed "s|^|$ROOT/|")
run-clang-tidy-14 -quiet -p "$build" -j "$JOBS" "${files[@]}"
