#!/bin/sh
# Builds everything and starts the viewer on the bundled sample mailbox.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/build.sh

BUILD_DIR=${BUILD_DIR:-build}
if [ -x "$BUILD_DIR/app/ekview" ]; then
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: starting the viewer under a virtual X server." >&2
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD_DIR/app/ekview" samples/sample.mbx
    fi
    exec "$BUILD_DIR/app/ekview" samples/sample.mbx
fi
exec "$BUILD_DIR/cli/ekview-cli" list samples/sample.mbx
