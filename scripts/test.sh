#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the release build,
# the AddressSanitizer + UndefinedBehaviorSanitizer build, clang-tidy, the
# format check, the desktop entry's and metadata's validators, the Debian
# package's check, a bounded fuzzing run, and the Windows cross-build with
# its tests under Wine and Xvfb and the zip, and the web edition: its build,
# the same tests compiled to wasm under node, and the browser tests in
# headless Chromium.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen

passed=0
failed=0
# run_ctest DIR: runs one build's tests and adds its counts to the totals.
run_ctest() {
    local log
    log="$(mktemp)"
    local status=0
    ctest --test-dir "$1" --output-on-failure -j "$JOBS" 2>&1 | tee "$log" || status=$?
    local summary
    summary="$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)"
    rm -f "$log"
    if [ -z "$summary" ]; then
        echo "error: ctest printed no summary for $1" >&2
        exit 1
    fi
    local nfailed total
    nfailed="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")"
    total="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")"
    passed=$((passed + total - nfailed))
    failed=$((failed + nfailed))
    if [ "$status" -ne 0 ] || [ "$nfailed" -ne 0 ]; then
        echo "tests: ${passed} passed, ${failed} failed"
        exit 1
    fi
}

echo "== format check"
git -C "$ROOT" ls-files -z '*.cpp' '*.h' | (cd "$ROOT" && xargs -0 clang-format --dry-run -Werror)

echo "== release build and tests"
configure_and_build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTS_WERROR=ON
run_ctest "$ROOT/build-test"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
configure_and_build "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTS_SANITIZE=ON -DTS_BENCH=OFF \
    -DTS_WERROR=ON
run_ctest "$ROOT/build-asan"

echo "== clang-tidy"
bash "$ROOT/scripts/tidy.sh" "$ROOT/build-test"

echo "== desktop entry and AppStream metadata"
# Hints and warnings count as failures too.
messages="$(desktop-file-validate "$ROOT/app/tally-share.desktop" 2>&1)" || true
if [ -n "$messages" ]; then
    echo "$messages" >&2
    exit 1
fi
appstreamcli validate --no-net "$ROOT/app/io.github.tallyshare.TallyShare.metainfo.xml"

echo "== Debian package: lintian, install, one run as an ordinary user"
bash "$ROOT/scripts/package_check.sh" "$ROOT/build-deb"

echo "== fuzzing for ${FUZZ_SECONDS} s"
bash "$ROOT/fuzz/run.sh" "$ROOT/build-fuzz" "$FUZZ_SECONDS"

echo "== web edition: build, the tests compiled to wasm, the browser tests"
web_packages=(emscripten chromium)
# Node and npm may come from elsewhere (NodeSource); Debian's only when missing.
command -v node >/dev/null 2>&1 || web_packages+=(nodejs)
command -v npm >/dev/null 2>&1 || web_packages+=(npm)
install_missing "${web_packages[@]}"
build_web "$ROOT/build-test"
npm ci --prefix "$ROOT/tests/web" --no-audit --no-fund --loglevel=error
# The browser tests are CTest tests of the web build.
run_ctest "$ROOT/build-web"

echo "== Windows build and tests under Wine"
install_missing "${WINDOWS_PACKAGES[@]}"
configure_and_build "$ROOT/build-win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTS_WERROR=ON
source "$ROOT/scripts/wine_env.sh"
trap wine_teardown EXIT
wine_setup --display
run_ctest "$ROOT/build-win"
wine_teardown
trap - EXIT
bash "$ROOT/scripts/windows.sh" "$ROOT/build-win"

echo "tests: ${passed} passed, ${failed} failed"
