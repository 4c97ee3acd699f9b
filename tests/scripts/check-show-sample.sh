#!/bin/sh
# scripts/show-sample.sh, as ./scripts/run.sh runs it on a machine without a display,
# on the build in $1: it must return, print the sample's subject list and first
# message, and leave a screenshot of the viewer window where its last line says.
set -eu
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

fail() {
    echo "check-show-sample: $*" >&2
    exit 1
}

# Bounded, so that a viewer that never shows its window fails the test instead of hanging it.
env -u DISPLAY -u WAYLAND_DISPLAY BUILD_DIR="$build" \
    timeout 120 "$root/scripts/show-sample.sh" "$work/window.png" >"$work/out" 2>"$work/err" ||
    fail "exit status $?: $(cat "$work/err")"

# The output opens with the subject list exactly as ekview-cli prints it.
"$build/cli/ekview-cli" list "$root/samples/sample.mbx" >"$work/list"
rows=$(wc -l <"$work/list")
[ "$rows" -gt 0 ] || fail "the sample lists no message"
head -n "$rows" "$work/out" | cmp -s - "$work/list" || fail "the subject list is not printed first"
# Then, after a blank line, the first message (index 0) as ekview-cli shows it.
"$build/cli/ekview-cli" show "$root/samples/sample.mbx" 0 >"$work/first"
lines=$(wc -l <"$work/first")
tail -n +"$((rows + 2))" "$work/out" | head -n "$lines" | cmp -s - "$work/first" ||
    fail "the first message is not printed after the list"
last=$(tail -n 1 "$work/out")
case "$last" in
    *": $work/window.png") ;;
    *) fail "the last line does not name the screenshot: $last" ;;
esac
file "$work/window.png" | grep -q 'PNG image data' || fail "no PNG screenshot was written"
