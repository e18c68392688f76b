#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

install_missing "${RUN_PACKAGES[@]}" libbenchmark-dev zlib1g-dev
build="$ROOT/build-bench"
configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$build/bench/calculate_bench"
"$build/bench/settings_file_bench"
"$build/bench/link_size"
"$build/bench/refresh_bench"
"$build/bench/startup_bench" "${1:-15}"
