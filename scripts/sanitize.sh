#!/bin/sh
# Builds the logic and mail libraries, the shell library, ekview-cli and their
# tests with clang under the address and undefined-behaviour sanitizers into
# $ASAN_BUILD_DIR (default build-asan), then runs those tests. The viewer's
# windows are not part of it.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${ASAN_BUILD_DIR:-build-asan}
SANITIZE="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

./scripts/install-deps.sh
export EKVIEW_DEPS_CHECKED=1
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -DEKVIEW_WERROR=ON >/dev/null
else
    CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DEKVIEW_BUILD_GUI=OFF -DEKVIEW_BUILD_BENCH=OFF -DEKVIEW_WERROR=ON \
        -DCMAKE_CXX_FLAGS="$SANITIZE" -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE" >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
# ctest runs what was built: each layer's tests must be among it.
for tests in core/ekview_core_tests shell/ekview_shell_tests cli/ekview_cli_tests; do
    if [ ! -x "$BUILD_DIR/tests/$tests" ]; then
        echo "sanitize: $BUILD_DIR/tests/$tests was not built" >&2
        exit 1
    fi
done

export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
