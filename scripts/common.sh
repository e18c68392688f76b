# Shared by the scripts: package installation and the build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"

# Debian packages the program needs to build and run.
RUN_PACKAGES=(cmake ninja-build g++ qt6-base-dev fonts-ipafont-gothic)
# What building the Debian package needs on top (dpkg-shlibdeps, file).
PACKAGE_PACKAGES=(dpkg-dev file)
# What the web edition's site takes from Debian on top of emscripten: the
# link dialog's QR encoder (app/web/make_site.cmake copies it in) and terser,
# which minifies the program's script.
WEB_SITE_PACKAGES=(node-qrcode-generator terser)
# The Windows cross-build and its tests under Wine (64-bit Wine only; the
# wine package takes wine64 in place of wine32, so no i386 architecture),
# with the X libraries Wine's display driver loads (libwine only recommends
# them), the Japanese font the dialogs are mapped to, and unzip to list the zip.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 googletest
    wine wine64 xvfb libxi6 libxcursor1 libxcomposite1 libxinerama1 fonts-ipafont-gothic unzip)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: installing packages needs root or sudo: $*" >&2
        return 1
    fi
}

# Installs the packages that are not installed yet; does nothing otherwise.
install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return 0
    fi
    echo "== installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# configure_and_build DIR [cmake options...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$JOBS"
}

# Debian's emscripten finds its JavaScript modules (acorn) through
# NODE_PATH when node is not Debian's own.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# build_web HOST_BUILD_DIR: builds the web edition into build-web (the site
# in build-web/site, and the tests compiled to wasm). Its icons are drawn by
# icon_png from a build for this machine.
build_web() {
    local host="$1"
    cmake --build "$host" --target icon_png
    emcmake cmake -S "$ROOT" -B "$ROOT/build-web" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
        -DTS_WERROR=ON -DTS_HOST_ICON_PNG="$host/tools/icon_png" >/dev/null
    cmake --build "$ROOT/build-web" -j "$JOBS"
}
