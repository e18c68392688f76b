#!/usr/bin/env bash
# Cross-builds the Windows program with MinGW-w64 and packs it for users:
# tally-share-<version>-win64.zip holds a folder with tally-share.exe, a
# Japanese read-me (UTF-8 with byte-order mark and CRLF line ends, so that
# Notepad on any Windows shows it right) and the licence, LICENSE.txt.
#   scripts/windows.sh [BUILD_DIR]           builds target tally-share there
#   scripts/windows.sh --pack-only EXE DIR   packs an existing EXE into DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

MINGW_OBJDUMP=x86_64-w64-mingw32-objdump

# The DLLs the executable imports must all come with Windows: a MinGW
# runtime DLL (libstdc++, libgcc, libwinpthread) would be missing there.
check_imports() {
    local exe="$1"
    local dlls foreign
    dlls="$("$MINGW_OBJDUMP" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')"
    foreign="$(grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|uxtheme|dwmapi|imm32|version|msvcrt|ucrtbase|api-ms-win-.*)\.dll$' \
        <<<"$dlls" || true)"
    if [ -n "$foreign" ]; then
        echo "error: $exe needs DLLs that Windows does not have: $foreign" >&2
        return 1
    fi
    echo "imports: $(tr '\n' ' ' <<<"$dlls")"
}

# The read-me, written as UTF-8 with a byte-order mark and CRLF line ends.
write_readme() {
    local file="$1" version="$2"
    {
        printf '\xef\xbb\xbf'
        sed 's/$/\r/' <<TEXT
TALLY-SHARE ${version}（Windows 版）

宴会などの費用を、グループごとの人数と負担の割合から割り勘計算するプログラムです。
インストールは要りません。

■ 使い方
1. この zip を、書き込みのできる好きなフォルダーに展開します
   （例: ドキュメントやデスクトップの中）。
2. tally-share.exe をダブルクリックすると起動します。

■ 設定ファイル
・入力したグループと総額は、終了するときに tally-share.exe と同じフォルダーの
  ts.cfg に保存され、次に起動したときに読み込まれます。
・そのため、書き込みのできないフォルダー（C:\\Program Files など）に置くと保存されません。
・別のバージョンの ts.cfg があったときは、上書きする前に ts.cfg.bak として残します。
・ts.cfg が読み取り専用のときや、ほかのプログラムが開いているときは上書きしません。
・USB メモリーなどにフォルダーごと入れて持ち運べます。

■ 削除
フォルダーごと削除してください。レジストリーは使いません。

■ 動作環境
64 ビット版 Windows。Linux などでは Wine でも動きます（wine tally-share.exe）。

■ ライセンス
MIT ライセンスです。全文は LICENSE.txt にあります。
TEXT
    } >"$file"
}

# pack EXE VERSION OUT_DIR: makes OUT_DIR/tally-share-VERSION-win64.zip.
pack() {
    local exe="$1" version="$2" out="$3"
    local name="tally-share-${version}-win64"
    local stage
    stage="$(mktemp -d)"
    mkdir "$stage/$name"
    # Symbols only make the download bigger.
    x86_64-w64-mingw32-strip -o "$stage/$name/tally-share.exe" "$exe"
    write_readme "$stage/$name/README-ja.txt" "$version"
    sed 's/$/\r/' "$ROOT/LICENSE" >"$stage/$name/LICENSE.txt"
    rm -f "$out/$name.zip"
    (cd "$stage" && cmake -E tar cf "$out/$name.zip" --format=zip "$name")
    rm -rf "$stage"
    echo "packed: $out/$name.zip"
    unzip -l "$out/$name.zip" 2>/dev/null || true
}

if [ "${1:-}" = "--pack-only" ]; then
    exe="$2"
    out="$(cd "$3" && pwd)"
    version="$(sed -nE 's/^project\([A-Za-z]+ VERSION ([0-9.]+).*/\1/p' "$ROOT/CMakeLists.txt")"
    check_imports "$exe"
    pack "$exe" "$version" "$out"
    exit 0
fi

build="$(mkdir -p "${1:-$ROOT/build-win}" && cd "${1:-$ROOT/build-win}" && pwd)"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" --target tally-share -j "$JOBS"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
exe="$(find "$build" -name tally-share.exe -type f -print -quit)"
if [ -z "$exe" ]; then
    echo "error: the build made no tally-share.exe" >&2
    exit 1
fi
check_imports "$exe"
pack "$exe" "$version" "$build"
