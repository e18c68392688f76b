#!/usr/bin/env bash
# Tests of scripts/check_installs.sh on small made-up trees: which words of
# a script, a CMake file or a test it takes for tools, and when it fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
check="$ROOT/scripts/check_installs.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# tree FILE TEXT [FILE TEXT...]: a fresh git tree holding these files (TEXT
# with \n for new lines), install_missing and, unless given, an empty table.
tree() {
    rm -rf "$work/tree" && mkdir -p "$work/tree/scripts" && git -C "$work/tree" init -q
    : >"$work/tree/scripts/tool_packages.txt"
    echo 'install_missing() { :; }' >"$work/tree/scripts/common.sh"
    while [ "$#" -gt 0 ]; do
        mkdir -p "$(dirname "$work/tree/$1")" && printf '%b\n' "$2" >"$work/tree/$1"
        shift 2
    done
    git -C "$work/tree" add -A
}

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

words() { tr ' ' '\n' | sed '/^$/d' | sort | tr '\n' ' '; }

# What is taken for a tool: file, text, the tools expected.
uses_cases=(
    a.sh 'x="$(cd "$(dirname "$0")" && pwd)"; y=$((a + b)); PKGS=(cmake terser)' 'dirname'
    a.sh 'for ((i = 0; i < n; i++)); do seq "$i"; done; for f in a b; do rm "$f"; done' 'seq rm'
    a.sh 'as_root() { :; }\nas_root env DEBIAN_FRONTEND=noninteractive apt-get install -y foo' 'env apt-get'
    a.sh 'git ls-files -z | (cd "$d" && xargs -0 clang-format -n)' 'git xargs clang-format'
    a.sh 'as_root() { :; }\necho "not (a) command; nor | this $(id -u)"; kill 1; as_root kill 2' 'id kill'
    a.sh "cat <<EOF\nfoo | bar\nEOF\nawk '\nbaz | qux\n' f" 'cat awk'
    a.sh 'DUMP=x86_64-w64-mingw32-objdump\n"$DUMP" -p x; f() { cmake "$@"; }; f a' 'x86_64-w64-mingw32-objdump cmake'
    a.sh 'usage() { :; }\ncase "$1" in\n  build | all) exec node s.mjs ;;\n  *) usage ;;\nesac' 'node'
    CMakeLists.txt 'find_program(N NAMES node nodejs REQUIRED) find_package(Qt6 REQUIRED COMPONENTS Widgets Svg)' \
        'node nodejs cmake:Qt6 cmake:Qt6Widgets cmake:Qt6Svg'
    CMakeLists.txt 'pkg_check_modules(G REQUIRED gtk+-3.0>=3.24)\nset(P cross)\nset(CMAKE_CXX_COMPILER ${P}-g++)' \
        'pkg-config:gtk+-3.0 cross-g++'
    CMakeLists.txt 'add_executable(driver d.cpp) # find_program(X commented)\nadd_test(NAME a COMMAND driver)\nadd_test(NAME b COMMAND sh -c "x")' \
        'sh'
    t/a.test.mjs "await promisify(execFile)('zbarimg', [p]); launch('/usr/bin/chromium')" 'zbarimg /usr/bin/chromium'
)
for ((i = 0; i < ${#uses_cases[@]}; i += 3)); do
    file="${uses_cases[i]}" text="${uses_cases[i + 1]}" expected="${uses_cases[i + 2]}"
    tree "$file" "$text"
    got="$(bash "$check" --uses "$work/tree" | cut -f1 | words)"
    [ "$got" = "$(words <<<"$expected")" ] || fail "$file: $text: took '$got', not '$expected'"
done

# The whole check: what the scripts do, its status and a line it prints.
# terser is on this machine or not: that never counts.
table='terser terser\n/usr/share/nodejs/commander node-commander\n/usr/bin/tally-share -'
cmake='find_program(T terser REQUIRED) set(D /usr/share/nodejs/commander)'
check_cases=(
    'install_missing node-commander' 1 'missing: terser (CMakeLists.txt) comes from the Debian package terser,'
    'WEB_PACKAGES=(terser)\ninstall_missing "${WEB_PACKAGES[@]}"; sed -n p x; exec /usr/bin/tally-share' 0
    'installs: all 4 '
    'WEB_PACKAGES=(terser)\ninstall_missing node-commander' 1 'missing: terser'
    'command -v terser || packages+=(terser)\ninstall_missing "${packages[@]}"' 1
    'missing: /usr/share/nodejs/commander (CMakeLists.txt) comes from the Debian package node-commander,'
    'install_missing terser; nosuchtool -x' 1 'unknown: nosuchtool (scripts/a.sh)'
    'install_missing terser no-such-package' 1 'apt cannot install what the scripts name'
)
for ((i = 0; i < ${#check_cases[@]}; i += 3)); do
    script="${check_cases[i]}" status="${check_cases[i + 1]}" expected="${check_cases[i + 2]}"
    tree CMakeLists.txt "$cmake" scripts/a.sh "$script" scripts/tool_packages.txt "$table"
    got=0
    out="$(bash "$check" "$work/tree" 2>&1)" || got=$?
    [ "$got" = "$status" ] && [[ "$out" == *"$expected"* ]] ||
        fail "scripts '$script': status $got, not $status, or no '$expected' in: $out"
done

if [ "$failures" -ne 0 ]; then
    echo "check_installs_test: $failures failed" >&2
    exit 1
fi
echo "check_installs_test: $(((${#uses_cases[@]} + ${#check_cases[@]}) / 3)) passed"
