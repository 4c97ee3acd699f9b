#!/bin/sh
# Builds everything and runs every test, the logic and CLI tests also in a
# sanitizer build. GUI tests run under a virtual X server when no display is available.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
export EKVIEW_DEPS_CHECKED=1
./scripts/build.sh
# The logic and CLI tests once more, under the address and undefined-behaviour sanitizers.
./scripts/sanitize.sh

BUILD_DIR=${BUILD_DIR:-build}
if [ -n "${DISPLAY:-}" ]; then
    exec ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
fi
# -noreset: the server would otherwise reset whenever its last client leaves,
# and a test process starting at that moment could not connect.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
