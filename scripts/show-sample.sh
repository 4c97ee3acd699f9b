#!/bin/sh
# Shows, without a display, what the viewer shows on the bundled sample mailbox:
# the subject list and the first message as ekview-cli prints them, and a
# screenshot of the real viewer window taken on a private virtual X server. Prints
# the screenshot's path last.
#   scripts/show-sample.sh [OUTPUT.png]    default: $BUILD_DIR/sample-window.png
# Uses the build in $BUILD_DIR (default: build); builds nothing.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
build=$(cd "$BUILD_DIR" && pwd)
sample=samples/sample.mbx
output=${1:-$build/sample-window.png}

"$build/cli/ekview-cli" list "$sample"
echo
"$build/cli/ekview-cli" show "$sample" 0
echo
if [ ! -x "$build/gui/ekview" ]; then
    echo "show-sample: no viewer was built (EKVIEW_BUILD_GUI=OFF), so no screenshot" >&2
    exit 0
fi
EKVIEW_BUILD_DIR=$build ./scripts/screenshot.sh "$sample" "$output" >/dev/null
echo "The viewer's window on $sample: $output"
