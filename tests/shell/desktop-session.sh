# The desktop of the end-to-end window tests, sourced by each of them: a private X server
# (Xvfb) with openbox managing its screen, and everything the test starts stopped again when
# it ends, whether it passes or fails. Needs no display and no terminal.
#
#   out=OUTDIR; source desktop-session.sh; start_desktop WIDTH HEIGHT || fail "..."
#
# Processes the test starts in the background go into `pids`, to be stopped with the rest.

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

# An X server of WIDTH x HEIGHT pixels with openbox managing its screen; DISPLAY names it
# afterwards. The server picks a free display number itself; on a busy machine another
# server can take the same number at the same moment, and a fresh start is tried then.
start_desktop() {
    local width=$1 height=$2 attempt xvfb
    unset WAYLAND_DISPLAY DISPLAY XAUTHORITY SESSION_MANAGER
    for attempt in 1 2 3; do
        rm -f "$out/display"
        Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp \
            3>"$out/display" 2>"$out/xvfb.log" &
        xvfb=$!
        pids+=("$xvfb")
        wait_for 20 grep -q '[0-9]' "$out/display" || continue
        export DISPLAY=":$(tr -dc '0-9' <"$out/display")"
        openbox --sm-disable >"$out/openbox.log" 2>&1 &
        pids+=($!)
        if wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' &&
            kill -0 "$xvfb" 2>/dev/null; then
            echo "display $DISPLAY"
            return 0
        fi
        echo "attempt $attempt: openbox did not take over $DISPLAY" >&2
        kill "${pids[-1]}" "$xvfb" 2>/dev/null || true
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
