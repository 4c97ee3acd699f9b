# Sourced by scripts that need a virtual X display of their own.
# start_private_xvfb WORK_DIR: starts Xvfb on a free display, sets xvfb_pid and exports
# DISPLAY; returns 1 (with the server's log on stderr) when it did not start.
# Xvfb picks the display itself and writes its number to fd 3. -noreset: without it
# the server resets when its last client leaves, and a client connecting then is refused.
start_private_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x720x24 -nolisten tcp -noreset \
        3>"$1/display" >"$1/xvfb.log" 2>&1 &
    xvfb_pid=$!
    xvfb_tries=0
    until [ -s "$1/display" ]; do
        xvfb_tries=$((xvfb_tries + 1))
        if [ "$xvfb_tries" -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
            cat "$1/xvfb.log" >&2
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
}
