#!/usr/bin/env bash
# Checks that every program, CMake package and font the build, the tests and
# the scripts use comes from a Debian package that a script installs (named on
# an install line, or a dependency of one named there) or that every Debian
# system has. What is used is read from the tracked files; which package
# provides it, from scripts/tool_packages.txt; what the install lines bring,
# from apt as if nothing were installed. What this machine happens to have
# never counts, so a tool installed by hand cannot hide a missing install.
#
#   bash scripts/check_installs.sh [--uses] [TREE]
#   --uses lists what is used ("tool<TAB>file") and checks nothing;
#   TREE is a git work tree, by default this one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
list_only=0
if [ "${1:-}" = --uses ]; then
    list_only=1
    shift
fi
cd "${1:-$ROOT}"

# A bash script as bash itself prints it: one command a line, no comments.
normalized() {
    bash -c 'eval "__script() {
$(cat "$1")
}" && declare -f __script' _ "$1" | tail -n +2
}

# Words in command position, one a line. Quoted text is blanked (@), except
# the commands of $(...) inside it; heredocs and arrays are skipped. Wrappers
# (env, xargs, as_root...) name a command after their options; a builtin's
# name there is a program, marked "=".
COMMAND_WORDS='
function blanks(n,   out) { out = ""; while (n-- > 0) out = out "@"; return out }
function blank(s,   out, i, j, c, n) {
    n = length(s)
    for (i = 1; i <= n; i++) {
        c = substr(s, i, 1)
        if (st[sp] == "s") { if (c == "\047") sp--; out = out "@"; continue }
        if (c == "\\") { out = out "@@"; i++; continue }
        if (st[sp] == "d") {
            if (c == "\"") sp--
            if (substr(s, i, 2) == "$(" && substr(s, i, 3) != "$((") {
                st[++sp] = "c"; depth[sp] = 0; out = out "$("; i++
            } else out = out "@"
            continue
        }
        j = 0
        if (substr(s, i, 3) == "$((" || substr(s, i, 2) == "((") j = index(substr(s, i), "))")
        else if (substr(s, i, 2) == "${") j = index(substr(s, i), "}") - 1
        if (j > 0) { out = out blanks(j + 1); i += j; continue }
        if (c == "\"" || c == "\047") { st[++sp] = c == "\"" ? "d" : "s"; out = out "@"; continue }
        if (c == "(") depth[sp]++
        if (c == ")" && depth[sp] > 0) depth[sp]--
        else if (c == ")" && sp > 0) sp--
        out = out c
    }
    return out
}
BEGIN {
    sp = 0; st[0] = "c"; depth[0] = 0   # quoted text may go on over lines
    split("if then do else elif fi done esac while until ! time", k); for (i in k) keyword[k[i]] = 1
    split("for case select function [[", k); for (i in k) skiprest[k[i]] = 1
    split("as_root sudo exec env command xargs runuser timeout nice time", k); for (i in k) wrapper[k[i]] = 1
}
heredoc != "" { if ($0 == heredoc) heredoc = ""; next }
{
    line = $0
    if (line ~ /^[ ]*[A-Z_][A-Z0-9_]*=[A-Za-z0-9_.+\/-]+;?$/) {
        sub(/^[ ]*/, "", line); sub(/;$/, "", line)
        constant[substr(line, 1, index(line, "=") - 1)] = substr(line, index(line, "=") + 1)
    }
    for (name in constant) gsub("\"?\\$\\{?" name "\\}?\"?", constant[name], line)
    gsub(/<<</, "<", line)
    b = blank(line)
    if (match(b, /<<-?[ ]*/)) {
        heredoc = substr(line, RSTART + RLENGTH); gsub(/[\047"]/, "", heredoc); sub(/[^A-Za-z0-9_].*/, "", heredoc)
    }
    if (b ~ /^[ ]*[^ ()]+([ ]*\|[ ]*[^ ()]+)*\)$/) next   # a pattern of a case
    gsub(/[A-Za-z_][A-Za-z0-9_]*\+?=\([^)]*\)/, "@", b)
    gsub(/\$\(|<\(|\(|\)|\|\||\||&&|;|\{|\}|`/, "\n", b)
    nseg = split(b, seg, "\n")
    for (s = 1; s <= nseg; s++) {
        nw = split(seg[s], w, /[ \t]+/)
        forced = 0
        for (i = 1; i <= nw; i++) {
            x = w[i]
            if (x == "" || x in keyword || x ~ /^[A-Za-z_][A-Za-z0-9_]*\+?=/) continue
            if (x in skiprest || x !~ /^(\.?\/)?[A-Za-z0-9_][A-Za-z0-9_.+\/-]*$/) break
            print (forced ? "=" : "") x
            if (!(x in wrapper)) break
            forced = x != "command" && x != "time"
            while (i < nw && w[i + 1] ~ /^(-.*|@*|[0-9]+|.*=.*)$/) i++
        }
    }
}'

# What a CMake file (comments removed, on one line) looks for and runs.
CMAKE_USES='
function args(call) { call = substr(call, index(call, "(") + 1); sub(/\)$/, "", call); sub(/^[ \t]+/, "", call); return call }
{
    file = $1; text = $2; rest = text
    while (match(rest, /[A-Za-z_]+\([^)]*\)/)) {
        call = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH)
        name = tolower(substr(call, 1, index(call, "(") - 1))
        for (v in value) gsub("\\$\\{" v "\\}", value[v], call)
        n = split(args(call), w, /[ \t]+/)
        if (name == "set" && n == 2 && w[2] !~ /[$"]/) value[w[1]] = w[2]
        if (name == "add_executable" || name == "add_library") target[w[1]] = 1
        if (name == "find_program")
            for (i = (w[2] == "NAMES" ? 3 : 2); i <= n && w[i] !~ /^[A-Z_]+$/; i++) use(w[i])
        if (name == "find_package") {
            use("cmake:" w[1])
            for (i = 2; i <= n; i++) if (w[i] == "COMPONENTS")
                for (j = i + 1; j <= n && w[j] !~ /^[A-Z_]+$/; j++) use("cmake:" w[1] w[j])
        }
        if (name == "pkg_check_modules" || name == "pkg_search_module")
            for (i = 2; i <= n; i++) if (w[i] !~ /^[A-Z_]+$/) { sub(/[<>=].*/, "", w[i]); use("pkg-config:" w[i]) }
        if (name == "set" && w[1] ~ /^CMAKE_([A-Z]+_COMPILER|CROSSCOMPILING_EMULATOR)$/) use(w[2])
        if (name == "project" && call ~ /LANGUAGES[^)]* CXX/) use("c++")
        for (i = 1; i < n; i++) if (w[i] == "COMMAND") command[w[i + 1]] = file
    }
}
function use(tool) { if (tool !~ /[$<"]/) print tool "\t" file }
END { for (c in command) if (!(c in target) && c !~ /[$<"]/) print c "\t" command[c] }'

# uses: "tool<TAB>file" for everything the tracked files use.
uses() {
    local file
    for file in $(git ls-files '*CMakeLists.txt' '*.cmake'); do
        printf '%s\t%s\n' "$file" "$(sed -E 's/(^|[[:space:]])#.*$//' "$file" | tr '\n\t' '  ')"
    done | awk -F '\t' "$CMAKE_USES"
    for file in $(git ls-files '*.sh' .ci/run); do
        normalized "$file" | awk "$COMMAND_WORDS" | sed "s|\$|\t$file|"
        sed -nE 's/.*-DCMAKE_[A-Z]+_COMPILER=([A-Za-z0-9_.+-]+).*/\1/p; s/.*-G +Ninja.*/ninja/p' "$file" |
            sed "s|\$|\t$file|"
    done
    for file in $(git ls-files '*.mjs' '*.cjs'); do
        { grep -oE "\b(execFile|execFileSync|spawn|spawnSync|execSync)\)?\( *['\"\`][^'\"\` ]+" "$file" || true; } |
            sed -E "s/.*['\"\`]//; s|\$|\t$file|"
    done
    # Absolute paths into the system: a browser, a source tree, modules (not
    # those of the made-up trees of this check's tests).
    { git grep -noE '/usr/(bin|sbin|lib|share|src|include)/[A-Za-z0-9_.+-]+(/[A-Za-z0-9_.+-]+)*' -- \
        '*CMakeLists.txt' '*.cmake' '*.sh' .ci/run '*.mjs' '*.cjs' ':!scripts/check_installs_test.sh' ||
        true; } |
        awk -F: '!($2 == 1 && $3 == "/usr/bin/env") { print $3 "\t" $1 }'
    # Fonts the tests or the scripts ask for by name.
    sed -n 's/^font:\(.*[^ ]\) \{1,\}[^ ]\{1,\}$/\1/p' scripts/tool_packages.txt | while read -r font; do
        file="$({ git grep -lF "$font" -- tests scripts ':!scripts/tool_packages.txt' || true; } | sed -n 1p)"
        [ -z "$file" ] || printf 'font:%s\t%s\n' "$font" "$file"
    done
}

# named: the packages the scripts install, "package always" or, installed
# only when a command is missing (node from elsewhere), "package if". They
# are the words of install_missing lines and of the *PACKAGES arrays those
# lines use, directly or through other such arrays.
NAMED='
{
    n = split($0, part, /\|\||&&/); how = n > 1 ? "if" : "always"; text = part[n]
    name = ""
    if (match(text, /[A-Za-z_]*(PACKAGES|packages)\+?=\(/)) { name = substr(text, RSTART, RLENGTH); sub(/\+?=\($/, "", name) }
    while (match(text, /\$\{[A-Za-z_][A-Za-z0-9_]*\[@\]\}/)) {
        used = substr(text, RSTART + 2, RLENGTH - 6); text = substr(text, 1, RSTART - 1) " " substr(text, RSTART + RLENGTH)
        if (name == "") wanted[used] = 1; else refs[name] = refs[name] " " used
    }
    gsub(/[();"]/, " ", text); m = split(text, w, / +/)
    for (i = 1; i <= m; i++) if (w[i] ~ /^[a-z0-9][a-z0-9.+-]+$/ && w[i] != "install_missing" && w[i] != "local") {
        if (name == "") print w[i], how; else words[name] = words[name] " " w[i] ":" how
    }
}
END {
    do { more = 0; for (a in wanted) { k = split(refs[a], r, " "); for (i = 1; i <= k; i++) if (!(r[i] in wanted)) { wanted[r[i]] = 1; more = 1 } } } while (more)
    for (a in wanted) { k = split(words[a], r, " "); for (i = 1; i <= k; i++) { split(r[i], p, ":"); print p[1], p[2] } }
}'
named() {
    local file
    for file in $(git ls-files '*.sh'); do normalized "$file"; done |
        grep -E '(^ *|\|\| |&& )(local )?(install_missing |[A-Za-z_]*(PACKAGES|packages)\+?=\()' |
        awk "$NAMED" | sort -u
}

# Shell builtins, keywords and the scripts' own functions are no programs.
declare -A shell_word
for word in $(compgen -b -k) $(for file in $(git ls-files '*.sh'); do normalized "$file"; done |
    sed -n 's/^ *function \([^ ]*\) ().*/\1/p'); do
    shell_word[$word]=1
done
used() {
    uses | while IFS=$'\t' read -r tool file; do
        # A builtin's name after sudo, env or xargs is a program.
        if [[ "$tool" == =* ]]; then
            printf '%s\t%s\n' "${tool#=}" "$file"
        elif [ -z "${shell_word[$tool]:-}" ]; then
            printf '%s\t%s\n' "$tool" "$file"
        fi
    done | sort -t $'\t' -k1,1 -u
}
if [ "$list_only" -eq 1 ]; then
    used
    exit 0
fi

if ! compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null; then
    as_root apt-get update -qq
fi

declare -A provider
while read -r line; do
    line="${line%%#*}"
    line="${line%"${line##*[! ]}"}"
    [ -n "$line" ] || continue
    key="${line% *}"
    provider["${key%"${key##*[! ]}"}"]="${line##* }"
done <scripts/tool_packages.txt

declare -A direct
always=()
while read -r pkg how; do
    direct[$pkg]=1
    [ "$how" = if ] || always+=("$pkg")
done < <(named)

# Tools without a line in the table: the package this machine has them from
# (only a hint, unless every Debian system has that package).
mapfile -t lines < <(used)
hits="$(for line in "${lines[@]}"; do
    tool="${line%%$'\t'*}"
    [ -z "${provider[$tool]:-}" ] || continue
    if [[ "$tool" == /* ]]; then
        echo "$tool"
    elif [[ "$tool" != *:* ]]; then
        printf '%s\n' "/usr/bin/$tool" "/bin/$tool" "/usr/sbin/$tool" "/sbin/$tool"
    fi
done | xargs -r dpkg -S 2>/dev/null | grep -v '^diversion')" || true
declare -A found
while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    path="${hit#*: }"
    for tool in "$path" "${path##*/}"; do
        [ -n "${found[$tool]:-}" ] || found[$tool]="${hit%%[:,]*}"
    done
done <<<"$hits"

# Packages every Debian system has: essential, or of priority required.
declare -A base
for pkg in $( (printf '%s\n' "${provider[@]}" "${found[@]}" | sort -u | grep -vx -- - |
    xargs -r apt-cache show --no-all-versions 2>/dev/null || true) |
    awk '/^Package:/ {p = $2} /^(Essential: yes|Priority: required)$/ {print p}'); do
    base[$pkg]=1
done

problems=0
undecided=()
for line in "${lines[@]}"; do
    tool="${line%%$'\t'*}"
    file="${line#*$'\t'}"
    pkg="${provider[$tool]:-}"
    if [ -z "$pkg" ] && [ -n "${base[${found[$tool]:-none}]:-}" ]; then
        pkg="${found[$tool]}"
    fi
    if [ -z "$pkg" ]; then
        echo "unknown: $tool ($file): scripts/tool_packages.txt does not say which Debian package" \
            "provides it${found[$tool]:+ (here it comes from ${found[$tool]})}" >&2
        problems=$((problems + 1))
    elif [ "$pkg" != - ] && [ -z "${direct[$pkg]:-}" ] && [ -z "${base[$pkg]:-}" ]; then
        undecided+=("$pkg"$'\t'"$tool"$'\t'"$file")
    fi
done
if [ "${#undecided[@]}" -gt 0 ]; then
    # What apt would install for the install lines on an empty system.
    if ! simulated="$(apt-get -s -o Dir::State::status=/dev/null install --no-install-recommends \
        "${always[@]}" 2>&1)"; then
        echo "error: apt cannot install what the scripts name: $simulated" >&2
        exit 1
    fi
    declare -A brought
    for pkg in $(awk '/^Inst /{print $2}' <<<"$simulated"); do brought[$pkg]=1; done
    for line in "${undecided[@]}"; do
        IFS=$'\t' read -r pkg tool file <<<"$line"
        [ -z "${brought[$pkg]:-}" ] || continue
        echo "missing: $tool ($file) comes from the Debian package $pkg, which no script installs" >&2
        problems=$((problems + 1))
    done
fi

if [ "$problems" -ne 0 ]; then
    echo "error: $problems of the ${#lines[@]} programs, packages and fonts used are not installed" \
        "by the scripts; add their packages to the install lines (or scripts/tool_packages.txt)" >&2
    exit 1
fi
echo "installs: all ${#lines[@]} programs, packages and fonts used come from what the scripts install"
