# Sourced: a fresh Wine prefix and, for GUI tests, an Xvfb display.
#   wine_setup [--display]   creates the prefix (and starts Xvfb: DISPLAY,
#                            and WINE_SMALL_DISPLAY, a 640x480 screen)
#   wine_teardown            stops the displays and removes the prefix
# shellcheck shell=bash

# The first display number from $1 on that no X server uses.
wine_free_display() {
    local n
    for n in $(seq "$1" $(($1 + 40))); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
            echo "$n"
            return
        fi
    done
    echo "$1"
}

wine_wait_display() {
    local tries=0
    until [ -e "/tmp/.X11-unix/X$1" ] || [ "$tries" -ge 50 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
}

wine_setup() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
    WINEPREFIX="$(mktemp -d /tmp/tally-share-wine.XXXXXX)"
    export WINEPREFIX
    if [ "${1:-}" = "--display" ]; then
        local n
        n="$(wine_free_display 90)"
        Xvfb ":${n}" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_XVFB_PID=$!
        export DISPLAY=":${n}"
        wine_wait_display "$n"
        # The smallest screen the main window is made for.
        local small
        small="$(wine_free_display $((n + 1)))"
        Xvfb ":${small}" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_SMALL_XVFB_PID=$!
        export WINE_SMALL_DISPLAY=":${small}"
        wine_wait_display "$small"
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
    local pid
    for pid in "${WINE_XVFB_PID:-}" "${WINE_SMALL_XVFB_PID:-}"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    unset WINE_XVFB_PID WINE_SMALL_XVFB_PID WINE_SMALL_DISPLAY
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        rm -rf "$WINEPREFIX"
    fi
}
