#!/bin/sh
# Configures and builds everything into $BUILD_DIR (default: build), with compiler
# warnings in our own code as errors.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -DEKVIEW_WERROR=ON >/dev/null
else
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEKVIEW_WERROR=ON >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
