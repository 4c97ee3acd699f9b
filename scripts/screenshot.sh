#!/bin/sh
# Takes docs/screenshot.png: the viewer on samples/sample.mbx in a fresh profile,
# on a private Xvfb display, the main window captured as it shows.
# Usage: scripts/screenshot.sh [--profile FILE] [--keys "KEY..."] [--capture TITLE]
#                               [MAILBOX [OUTPUT.png]]
# --profile starts from a copy of FILE as the viewer's profile (e.g. colours set).
# --keys types the given xdotool key names into the window before the capture:
# "Down Down Down Return" opens the text pane on the third mail, "t" the thread list.
# --capture takes the window of that title (a dialog the keys opened) instead.
# The viewer is taken from $EKVIEW_BUILD_DIR (default: build/) as gui/ekview.
# Needs: xvfb, x11-apps (xwd), x11-utils (xwininfo), imagemagick (convert);
# xdotool for --keys.
set -eu

profile=""
keys=""
capture=""
while [ $# -ge 2 ]; do
    case "$1" in
        --profile) profile=$2 ;;
        --keys) keys=$2 ;;
        --capture) capture=$2 ;;
        *) break ;;
    esac
    shift 2
done

root=$(cd "$(dirname "$0")/.." && pwd)
build=${EKVIEW_BUILD_DIR:-$root/build}
viewer=$build/gui/ekview
mailbox=${1:-$root/samples/sample.mbx}
output=${2:-$root/docs/screenshot.png}
title="$(basename "$mailbox") - EKView"

if [ ! -x "$viewer" ]; then
    echo "screenshot: no viewer at $viewer (build the ekview target first)" >&2
    exit 1
fi

work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""
cleanup() {
    [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

. "$root/scripts/lib/private-xvfb.sh"
start_private_xvfb "$work" || { echo "screenshot: Xvfb did not start" >&2; exit 1; }

# Wait for the server, then for the window with the mailbox's title.
# A check that returns 2 has failed for good (the viewer exited): stop waiting.
wait_for() {
    tries=0
    until "$@" >/dev/null 2>&1; do
        [ $? -eq 2 ] && return 1
        tries=$((tries + 1))
        if [ "$tries" -gt 200 ]; then
            return 1
        fi
        sleep 0.1
    done
}
wait_for xwininfo -root || { echo "screenshot: Xvfb did not start" >&2; exit 1; }

if [ -n "$profile" ]; then
    mkdir -p "$work/config/Ubrik"
    cp "$profile" "$work/config/Ubrik/EKView.conf"
fi
HOME="$work" XDG_CONFIG_HOME="$work/config" "$viewer" "$mailbox" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
viewer_shows_window() {
    kill -0 "$viewer_pid" 2>/dev/null || return 2
    xwininfo -name "$title"
}
if ! wait_for viewer_shows_window; then
    echo "screenshot: the window \"$title\" did not appear" >&2
    cat "$work/viewer.log" >&2
    exit 1
fi
# Let the first paint finish.
sleep 1

window=$(xwininfo -name "$title" | awk '/Window id:/ { print $4 }')
if [ -n "$keys" ]; then
    xdotool windowfocus --sync "$window"
    # Word splitting makes each key name its own argument.
    # shellcheck disable=SC2086
    xdotool key --delay 100 $keys
    sleep 1
fi
if [ -n "$capture" ]; then
    if ! wait_for xwininfo -name "$capture"; then
        echo "screenshot: the window \"$capture\" did not appear" >&2
        exit 1
    fi
    window=$(xwininfo -name "$capture" | awk '/Window id:/ { print $4 }')
fi
mkdir -p "$(dirname "$output")"
xwd -silent -id "$window" | convert xwd:- "png:$output"
echo "screenshot: wrote $output"
