#!/usr/bin/env bash
# The Windows program under Wine: the size of tally-share.exe, and the whole
# process from start to visible window to close (it saves and exits), beside
# the Linux program's start-up (bench/startup_bench).
#   bench/wine_startup.sh [ROUNDS]      LINUX=0 skips the Linux side
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
source "$ROOT/scripts/wine_env.sh"

install_missing "${RUN_PACKAGES[@]}" libbenchmark-dev "${WINDOWS_PACKAGES[@]}"
rounds="${1:-10}"
build="$ROOT/build-win"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target tally-share -j "$JOBS"
exe="$(find "$build" -name tally-share.exe -type f -print -quit)"

# The program runs from a folder of its own: it writes ts.cfg beside itself.
work="$(mktemp -d /tmp/ts-wine-bench.XXXXXX)"
cleanup() {
    wine_teardown
    rm -rf "$work"
}
trap cleanup EXIT
cp "$exe" "$work/tally-share.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -static-libgcc -static-libstdc++ \
    "$ROOT/bench/wine_startup_driver.cpp" -o "$work/driver.exe" -lpsapi

stripped="$work/stripped.exe"
x86_64-w64-mingw32-strip -o "$stripped" "$exe"
echo "tally-share.exe: $(stat -c %s "$exe") bytes ($(stat -c %s "$stripped") stripped)"

wine_setup --display
wine "$work/driver.exe" "$(winepath -w "$work/tally-share.exe")" "$rounds"

if [ "${LINUX:-1}" != 0 ]; then
    echo "== the Linux program (Qt, offscreen)"
    configure_and_build "$ROOT/build-bench" -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF
    QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$ROOT/build-bench/bench/startup_bench" "$rounds"
    echo "tally-share (Linux): $(stat -c %s "$ROOT/build-bench/app/tally-share") bytes"
fi
