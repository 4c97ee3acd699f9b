#!/bin/sh
# Cross-builds the logic library, ekview-cli, the framework's toolkit-free half and
# their tests for 64-bit Windows with mingw-w64 into $WINDOWS_BUILD_DIR (default
# build-windows), and runs the tests under Wine. The viewer's windows are not built.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${WINDOWS_BUILD_DIR:-build-windows}

./scripts/install-deps.sh windows
export EKVIEW_WINDOWS_DEPS_CHECKED=1

if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" >/dev/null
else
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DEKVIEW_BUILD_MAIL=OFF -DEKVIEW_BUILD_GUI=OFF -DEKVIEW_BUILD_BENCH=OFF >/dev/null
fi

# A Wine prefix of our own, made fresh and removed at the end; no display, no dialogs
# (WINEDLLOVERRIDES keeps Wine from offering to install Mono and Gecko).
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ekview-wine.XXXXXX")
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT INT TERM
# One server for the whole run, started first, so that each test process starts quickly.
wineserver -p
wineboot --init >/dev/null 2>&1 || true

# The build runs each test program under Wine to list its tests.
cmake --build "$BUILD_DIR" -j "$(nproc)"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
