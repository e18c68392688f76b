#!/usr/bin/env bash
# Builds the settings-file fuzzer with clang into BUILD_DIR and runs it for
# SECONDS (default 60) on a copy of the seed corpus, so that the corpus in
# the repository stays as it is. Crash inputs land in BUILD_DIR/artifacts/.
#
#   bash fuzz/run.sh BUILD_DIR [SECONDS]
set -euo pipefail

jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
root="$ROOT"
build="${1:?usage: bash fuzz/run.sh BUILD_DIR [SECONDS]}"
seconds="${2:-60}"
install_missing cmake ninja-build clang libclang-rt-14-dev

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DTS_FUZZ=ON -DTS_GUI=OFF -DTS_TESTS=OFF -DTS_BENCH=OFF -DTS_WERROR=ON
cmake --build "$build" --target settings_fuzz -j "$jobs"

corpus="$build/fuzz-corpus"
artifacts="$build/artifacts"
rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts"
cp "$root"/fuzz/corpus/* "$corpus"/

"$build/fuzz/settings_fuzz" \
    -max_total_time="$seconds" \
    -max_len=8192 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -artifact_prefix="$artifacts/" \
    -print_final_stats=1 \
    "$corpus"
