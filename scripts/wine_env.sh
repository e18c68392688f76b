# Sourced: a fresh Wine prefix and, for GUI tests, an Xvfb display.
#   wine_setup [--display]   creates the prefix (and starts Xvfb)
#   wine_teardown            stops the display and removes the prefix
# shellcheck shell=bash

wine_setup() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
    WINEPREFIX="$(mktemp -d /tmp/tally-share-wine.XXXXXX)"
    export WINEPREFIX
    if [ "${1:-}" = "--display" ]; then
        local n
        for n in $(seq 90 120); do
            if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
                break
            fi
        done
        Xvfb ":${n}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_XVFB_PID=$!
        export DISPLAY=":${n}"
        local tries=0
        until [ -e "/tmp/.X11-unix/X${n}" ] || [ "$tries" -ge 50 ]; do
            sleep 0.1
            tries=$((tries + 1))
        done
    fi
    wineboot -i >/dev/null 2>&1
    # Windows without a window manager; the dialog font mapped to an
    # installed Japanese Gothic face.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f \
        >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS Gothic' /d IPAGothic /f \
        >/dev/null 2>&1
    wineserver -w
}

wine_teardown() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${WINE_XVFB_PID:-}" ]; then
        kill "$WINE_XVFB_PID" 2>/dev/null || true
        wait "$WINE_XVFB_PID" 2>/dev/null || true
        unset WINE_XVFB_PID
    fi
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        rm -rf "$WINEPREFIX"
    fi
}
