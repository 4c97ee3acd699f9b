#!/bin/sh
# Builds everything and starts the viewer on the bundled sample mailbox. Without a
# display it prints what the viewer would show (scripts/show-sample.sh: the subject
# list, the first message and a screenshot of the window) and returns.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
export EKVIEW_DEPS_CHECKED=1
./scripts/build.sh

BUILD_DIR=${BUILD_DIR:-build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: what the viewer shows on samples/sample.mbx follows." >&2
    exec ./scripts/show-sample.sh
fi
if [ -x "$BUILD_DIR/gui/ekview" ]; then
    exec "$BUILD_DIR/gui/ekview" samples/sample.mbx
fi
exec "$BUILD_DIR/cli/ekview-cli" list samples/sample.mbx
