# The private X server of every script that drives the real window (the end-to-end window
# tests, the soak and memcheck runs, the packaging check, the benchmarks), sourced by each
# of them: Xvfb, with openbox managing its screen when a desktop is wanted, and everything
# the script starts stopped again when it ends, whether it passes or fails. Needs no display
# and no terminal.
#
#   out=OUTDIR; source tests/support/desktop-session.sh; start_desktop WIDTH HEIGHT || fail "..."
#
# Logs go to OUTDIR (xvfb.log, openbox.log). Processes the script starts in the background go
# into `pids`, to be stopped with the rest; a script with clean-up of its own calls
# stop_session from its own EXIT trap.

pids=()
stop_session() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    for i in "${pids[@]}"; do
        wait "$i" 2>/dev/null || true
    done
}
trap stop_session EXIT

# Polls a command until it succeeds, for at most $1 seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# One try at an Xvfb of WIDTH x HEIGHT pixels; on success DISPLAY names it and xvfb_pid is
# its process. The server picks a free display number itself. It never resets: by default an
# X server resets when its last client leaves, and a program that connects during the reset
# (right after the readiness probe has disconnected) is refused (6 starts in 25 without
# -noreset, 0 in 25 with it).
start_xvfb_once() {
    local width=$1 height=$2
    unset WAYLAND_DISPLAY DISPLAY XAUTHORITY SESSION_MANAGER
    rm -f "$out/display"
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
        3>"$out/display" 2>"$out/xvfb.log" &
    xvfb_pid=$!
    pids+=("$xvfb_pid")
    wait_for 20 grep -q '[0-9]' "$out/display" || return 1
    export DISPLAY=":$(tr -dc '0-9' <"$out/display")"
}

# An X server of WIDTH x HEIGHT pixels with openbox managing its screen; DISPLAY names it
# afterwards. On a busy machine another server can take the same display number at the same
# moment, and a fresh start is tried then.
start_desktop() {
    local attempt
    for attempt in 1 2 3; do
        start_xvfb_once "$1" "$2" || { kill "$xvfb_pid" 2>/dev/null; continue; }
        openbox --sm-disable >"$out/openbox.log" 2>&1 &
        pids+=($!)
        if wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' &&
            kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "display $DISPLAY"
            return 0
        fi
        echo "attempt $attempt: openbox did not take over $DISPLAY" >&2
        kill "${pids[-1]}" "$xvfb_pid" 2>/dev/null || true
    done
    return 1
}

# An X server of WIDTH x HEIGHT pixels without a window manager, as start_desktop but
# without openbox: the server must answer and still run.
start_x_server() {
    local attempt
    for attempt in 1 2 3; do
        start_xvfb_once "$1" "$2" || { kill "$xvfb_pid" 2>/dev/null; continue; }
        if wait_for 20 xprop -root _XKB_RULES_NAMES && kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "display $DISPLAY"
            return 0
        fi
        echo "attempt $attempt: the X server on $DISPLAY did not answer" >&2
        kill "$xvfb_pid" 2>/dev/null || true
    done
    return 1
}

# Where window $1 is: its client area (client_x, client_y, client_width, client_height) and
# the window manager's frame around it (frame_left, frame_right, frame_top, frame_bottom).
measure_window() {
    local info
    info=$(xwininfo -id "$1")
    client_x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    client_y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    client_width=$(awk '/^  Width:/ {print $2}' <<<"$info")
    client_height=$(awk '/^  Height:/ {print $2}' <<<"$info")
    read -r frame_left frame_right frame_top frame_bottom < <(
        xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
}
