#!/usr/bin/env bash
# Installs what is missing, builds and runs the tests, stage by stage:
#
#   bash scripts/test.sh                every stage, in the order below
#   bash scripts/test.sh web windows    only these stages
#   bash scripts/test.sh --list         the stages, one a line
#
#   format    clang-format over the C++ sources, and that the scripts
#             install every tool the build and the scripts use
#   release   the release build (warnings are errors) and its tests
#   asan      the AddressSanitizer + UndefinedBehaviorSanitizer build and tests
#   tidy      clang-tidy over the program's sources
#   package   desktop-file-validate, appstreamcli, and the Debian package's
#             check (lintian, installed and run once as a throwaway user)
#   fuzz      the settings-file fuzzer for FUZZ_SECONDS (60)
#   web       the web edition: its build, the tests compiled to wasm under
#             node, and the browser tests in headless Chromium
#   windows   the Windows cross-build, its tests under Wine and Xvfb, the zip
#
# Each stage installs the Debian packages it needs. A stage that fails does
# not stop the run. It ends with the tests CTest skipped (77: no display, no
# Chromium), one line per stage (passed, failed or skipped, and why), and
# the count of the CTest tests of the stages run: "tests: N passed, N
# failed". A stage that fails outside CTest (the format check, a build)
# counts as one failed test. The exit status is 1 when anything failed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

STAGES=(format release asan tidy package fuzz web windows)
FUZZ_SECONDS="${FUZZ_SECONDS:-60}"
# What the release and sanitizer builds and their tests need on top of the
# program's packages: GoogleTest, Google Benchmark, and a Latin font for
# the test that the windows fit any font.
BUILD_TEST_PACKAGES=(libgtest-dev libbenchmark-dev fonts-dejavu-core)

usage() {
    echo "usage: bash scripts/test.sh [--list | stage...]; stages: ${STAGES[*]}" >&2
    exit 2
}

chosen=()
for arg in "$@"; do
    case "$arg" in
        --list)
            printf '%s\n' "${STAGES[@]}"
            exit 0
            ;;
        -h | --help) usage ;;
        *)
            if [[ " ${STAGES[*]} " != *" $arg "* ]]; then
                echo "error: no stage $arg" >&2
                usage
            fi
            chosen+=("$arg")
            ;;
    esac
done
# The stages run in their own order, whatever the order asked.
selected=()
for stage in "${STAGES[@]}"; do
    if [ "${#chosen[@]}" -eq 0 ] || [[ " ${chosen[*]} " == *" $stage "* ]]; then
        selected+=("$stage")
    fi
done

export QT_QPA_PLATFORM=offscreen

# Each stage runs in a subshell of its own; run_ctest writes what its tests
# did to this file ("passed N", "failed N", "skipped NAME"), read after.
STAGE_RESULTS="$(mktemp)"
trap 'rm -f "$STAGE_RESULTS"' EXIT
teardown=""

# run_ctest DIR [ctest options]: runs one build's tests and adds them to the
# stage's counts, read from CTest's JUnit report: one <testcase> per test,
# whose status is run (passed), fail, notrun (skipped) or disabled.
run_ctest() {
    local dir="$1"
    shift
    local report="$dir/ctest-junit.xml"
    rm -f "$report"
    local status=0
    ctest --test-dir "$dir" --output-on-failure -j "$JOBS" --output-junit "$report" "$@" || status=$?
    if [ ! -f "$report" ]; then
        echo "error: ctest wrote no report for $dir" >&2
        return 1
    fi
    local cases ran fails name
    cases="$(grep -o '<testcase [^>]*>' "$report" || true)"
    ran="$(grep -c 'status="run"' <<<"$cases" || true)"
    fails="$(grep -c 'status="fail"' <<<"$cases" || true)"
    printf 'passed %s\nfailed %s\n' "$ran" "$fails" >>"$STAGE_RESULTS"
    while IFS= read -r name; do
        name="${name#name=\"}"
        echo "skipped ${name%\"}" >>"$STAGE_RESULTS"
    done < <(grep 'status="notrun"' <<<"$cases" | grep -o '^<testcase name="[^"]*"' | grep -o 'name=.*' || true)
    if [ "$fails" -ne 0 ] || [ "$status" -ne 0 ]; then
        echo "error: $fails of the tests in $dir failed" >&2
        return 1
    fi
}

stage_format() {
    install_missing clang-format git
    local status=0
    git -C "$ROOT" ls-files -z '*.cpp' '*.h' | (cd "$ROOT" && xargs -0 clang-format --dry-run -Werror) ||
        status=1
    # Every tool the build and the scripts use is installed by a script.
    bash "$ROOT/scripts/check_installs.sh" || status=1
    bash "$ROOT/scripts/check_installs_test.sh" || status=1
    return "$status"
}

build_test() {
    install_missing "${RUN_PACKAGES[@]}" "${BUILD_TEST_PACKAGES[@]}"
    configure_and_build "$ROOT/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTS_WERROR=ON
}

stage_release() {
    build_test
    run_ctest "$ROOT/build-test"
}

stage_asan() {
    install_missing "${RUN_PACKAGES[@]}" "${BUILD_TEST_PACKAGES[@]}"
    configure_and_build "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=Debug -DTS_SANITIZE=ON -DTS_BENCH=OFF \
        -DTS_WERROR=ON
    run_ctest "$ROOT/build-asan"
}

stage_tidy() {
    # clang-tidy reads the release build's compile commands (and its
    # generated sources); the build is brought up to date first. The
    # browser's C++ is read with the compile commands of a web build, which
    # is only configured.
    build_test
    install_missing clang-tidy git emscripten "${WEB_SITE_PACKAGES[@]}"
    command -v node >/dev/null 2>&1 || install_missing nodejs
    emcmake cmake -S "$ROOT" -B "$ROOT/build-tidy-web" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DTS_HOST_ICON_PNG=not-drawn >/dev/null
    bash "$ROOT/scripts/tidy.sh" "$ROOT/build-test" "$ROOT/build-tidy-web"
}

stage_package() {
    install_missing desktop-file-utils appstream
    # Hints and warnings count as failures too.
    local messages
    messages="$(desktop-file-validate "$ROOT/app/tally-share.desktop" 2>&1)" || true
    if [ -n "$messages" ]; then
        echo "$messages" >&2
        return 1
    fi
    appstreamcli validate --no-net "$ROOT/app/io.github.tallyshare.TallyShare.metainfo.xml"
    bash "$ROOT/scripts/package_check.sh" "$ROOT/build-deb"
}

stage_fuzz() {
    bash "$ROOT/fuzz/run.sh" "$ROOT/build-fuzz" "$FUZZ_SECONDS"
}

stage_web() {
    # zbar-tools reads the QR codes the browser tests see.
    local packages=("${RUN_PACKAGES[@]}" emscripten "${WEB_SITE_PACKAGES[@]}" googletest chromium
        zbar-tools)
    # Node and npm may come from elsewhere (NodeSource); Debian's only when missing.
    command -v node >/dev/null 2>&1 || packages+=(nodejs)
    command -v npm >/dev/null 2>&1 || packages+=(npm)
    install_missing "${packages[@]}"
    # A build for this machine draws the site's icons (icon_png only).
    cmake -S "$ROOT" -B "$ROOT/build-host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTS_TESTS=OFF \
        -DTS_BENCH=OFF >/dev/null
    build_web "$ROOT/build-host"
    npm ci --prefix "$ROOT/tests/web" --no-audit --no-fund --loglevel=error
    run_ctest "$ROOT/build-web"
}

stage_windows() {
    install_missing cmake ninja-build "${WINDOWS_PACKAGES[@]}"
    configure_and_build "$ROOT/build-win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTS_WERROR=ON
    source "$ROOT/scripts/wine_env.sh"
    teardown=wine_teardown
    wine_setup --display
    run_ctest "$ROOT/build-win"
    wine_teardown
    teardown=""
    bash "$ROOT/scripts/windows.sh" "$ROOT/build-win"
}

# A stage that fails is one failed test unless its own tests failed; the
# stages after it run all the same.
passed=0
failed=0
skipped=()
summary=()
for stage in "${STAGES[@]}"; do
    if [[ " ${selected[*]} " != *" $stage "* ]]; then
        summary+=("$stage: skipped (not asked for)")
        continue
    fi
    echo "== ${stage}"
    : >"$STAGE_RESULTS"
    set +e
    (
        set -e
        trap 'if [ -n "$teardown" ]; then "$teardown" || true; fi' EXIT
        "stage_${stage}"
    )
    status=$?
    set -e
    ran="$(awk '$1 == "passed" {n += $2} END {print n + 0}' "$STAGE_RESULTS")"
    fails="$(awk '$1 == "failed" {n += $2} END {print n + 0}' "$STAGE_RESULTS")"
    mapfile -t names < <(sed -n 's/^skipped //p' "$STAGE_RESULTS")
    skipped+=("${names[@]}")
    passed=$((passed + ran))
    counts="$((ran + fails)) tests${names[0]:+, ${#names[@]} skipped}"
    if [ "$status" -eq 0 ]; then
        line="passed"
        [ "$((ran + fails))" -eq 0 ] || line="passed ($counts)"
    elif [ "$fails" -gt 0 ]; then
        failed=$((failed + fails))
        line="failed ($fails of $counts failed)"
    else
        echo "error: the stage $stage failed (status $status)" >&2
        failed=$((failed + 1))
        line="failed (stopped with status $status"
        [ "$ran" -eq 0 ] || line+=" after $counts passed"
        line+=")"
    fi
    summary+=("$stage: $line")
done

if [ "${#skipped[@]}" -gt 0 ]; then
    echo "skipped: ${#skipped[@]} (${skipped[*]})"
fi
printf '%s\n' "${summary[@]}"
echo "tests: ${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
