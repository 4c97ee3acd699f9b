#!/bin/sh
# Configures and builds everything into $BUILD_DIR (default: build).
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" >/dev/null
else
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
