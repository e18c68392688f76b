#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it and runs
# the installed program once as an ordinary user: asked to end with SIGTERM
# once its window is up, it must save that user's settings file to
# ~/.config/tally-share/ts.cfg with mode 0600 and exit with status 1.
# The package is removed again at the end. Needs root or sudo.
#
#   bash scripts/package_check.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

build="${1:-$ROOT/build-deb}"
user=tally-ci
start_timeout=60

# procps: kill, when the program is ended through sudo.
install_missing "${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" lintian appstream procps

echo "== Debian package"
deb="$(bash "$ROOT/scripts/package.sh" "$build" | tail -n 1)"
echo "$deb"
dpkg-deb --info "$deb"

echo "== lintian"
lintian --fail-on error --display-info "$deb"

echo "== AppStream metadata with the package's desktop entry and icons"
stage="$(mktemp -d)"
dpkg-deb -x "$deb" "$stage"
appstreamcli validate-tree --no-net "$stage"
rm -rf "$stage"

echo "== installing and running the package"
as_root dpkg -i "$deb"
runtime=""
log="$(mktemp)"
cleanup() {
    rm -f "$log"
    if [ -n "$runtime" ]; then
        as_root rm -rf "$runtime"
    fi
    as_root dpkg -r tally-share >/dev/null || true
}
trap cleanup EXIT

if ! id -u "$user" >/dev/null 2>&1; then
    as_root useradd --create-home --shell /usr/sbin/nologin "$user"
fi
home="$(getent passwd "$user" | cut -d: -f6)"
as_root rm -rf "$home/.config/tally-share"
runtime="$(as_root mktemp -d /tmp/tally-ci-runtime.XXXXXX)"
as_root chown "$user:" "$runtime"
as_root chmod 0700 "$runtime"

status=0
as_root runuser -u "$user" -- env -i \
    HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="tallyshare.windows=true" \
    sh -c 'echo $$ > "$XDG_RUNTIME_DIR/pid" && exec /usr/bin/tally-share' 2>"$log" &
runner=$!

shown=0
for _ in $(seq $((start_timeout * 10))); do
    if grep -q "dialog 101 is shown" "$log"; then
        shown=1
        break
    fi
    if ! kill -0 "$runner" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if [ "$shown" -ne 1 ]; then
    cat "$log" >&2
    echo "error: the installed program showed no window" >&2
    kill "$runner" 2>/dev/null || true
    exit 1
fi
as_root kill -TERM "$(as_root cat "$runtime/pid")"
wait "$runner" || status=$?

settings="$home/.config/tally-share/ts.cfg"
failures=0
if [ "$status" -ne 1 ]; then
    echo "error: the program ended with status $status, not 1" >&2
    failures=1
fi
if ! as_root test -f "$settings"; then
    echo "error: $settings was not written" >&2
    failures=1
else
    file_mode="$(as_root stat -c '%a %U' "$settings")"
    folder_mode="$(as_root stat -c '%a %U' "$(dirname "$settings")")"
    if [ "$file_mode" != "600 $user" ] || [ "$folder_mode" != "700 $user" ]; then
        echo "error: $settings is '$file_mode' in a folder '$folder_mode'," \
            "not '600 $user' in '700 $user'" >&2
        failures=1
    fi
fi
if [ "$failures" -ne 0 ]; then
    cat "$log" >&2
    exit 1
fi
echo "package check: installed program saved $settings (0600) and ended with status 1"
