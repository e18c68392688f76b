#!/usr/bin/env bash
# Runs clang-tidy over the program's sources with the compile commands of a
# configured build folder; the browser's C++ (platform/web, storage/web,
# app/web_main.cpp, app/web) with those of a configured web build, given as
# the second folder, as emscripten compiles it (its target and sysroot).
# Any finding fails.
#
#   bash scripts/tidy.sh [BUILD] [WEB_BUILD]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build="${1:-$ROOT/build-test}"
web="${2:-}"
mapfile -t files < <(git -C "$ROOT" ls-files 'model/*.cpp' 'storage/*.cpp' 'platform/*.cpp' \
    'ui/*.cpp' 'app/*.cpp' 'resources/*.cpp' 'tools/*.cpp' | sed "s|^|$ROOT/|")
run-clang-tidy-14 -quiet -p "$build" -j "$JOBS" "${files[@]}"

if [ -n "$web" ]; then
    mapfile -t webFiles < <(git -C "$ROOT" ls-files 'platform/web/*.cpp' 'storage/web/*.cpp' \
        'app/web_main.cpp' 'app/web/*.cpp' | sed "s|^|$ROOT/|")
    # What em++ adds to every compile (the wasm target, emscripten's sysroot
    # and defines), without its options for the code generator (-mllvm).
    extra=()
    read -r -a flags <<<"$(em++ --cflags)"
    for ((i = 0; i < ${#flags[@]}; i++)); do
        if [ "${flags[i]}" = "-mllvm" ]; then
            i=$((i + 1))
            continue
        fi
        extra+=("-extra-arg-before=${flags[i]}")
    done
    run-clang-tidy-14 -quiet -p "$web" -j "$JOBS" "${extra[@]}" "${webFiles[@]}"
fi
