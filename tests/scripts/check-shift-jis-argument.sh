#!/bin/sh
# The viewer in $1/gui/ekview started on a mailbox whose name is Shift-JIS bytes
# (受信箱.mbx as copied from an old Windows disk) must open that very file: its
# window is titled with the name made readable, and no argument is dropped.
set -eu
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() {
    echo "check-shift-jis-argument: $*" >&2
    [ -f "$work/viewer.log" ] && cat "$work/viewer.log" >&2
    exit 1
}

. "$root/scripts/lib/private-xvfb.sh"
start_private_xvfb "$work" || fail "Xvfb did not start"
export LC_ALL=C.UTF-8

name=$(printf '\216\363\220M\224\240.mbx')
cp "$root/samples/sample.mbx" "$work/$name"
mkdir -p "$work/config"
HOME=$work XDG_CONFIG_HOME=$work/config "$build/gui/ekview" "$work/$name" >"$work/viewer.log" 2>&1 &
viewer_pid=$!

# The window's title as the desktop reads it, once the viewer has one.
tries=0
until xwininfo -root -tree 2>/dev/null | grep -qF '"受信箱.mbx - EKView"'; do
    tries=$((tries + 1))
    [ "$tries" -le 600 ] && kill -0 "$viewer_pid" 2>/dev/null ||
        fail "no window titled 受信箱.mbx - EKView: $(xwininfo -root -tree | grep -i ekview)"
    sleep 0.1
done
# wxWidgets warns of each argument that it could not convert, and drops it.
if grep -qi 'convert' "$work/viewer.log"; then
    fail "an argument was dropped"
fi
