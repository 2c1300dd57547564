#!/usr/bin/env bash
# End-to-end run of the real Velmora binary under a real accessibility bus: in a D-Bus session
# of its own, with its own X server and openbox, the program starts with Qt's accessibility
# bridge on, and a listener (a11y_listener.py, through Debian's pyatspi) walks the program's
# tree, presses "Сдвиг", "Поворот +" and "Сдвиг" through the bus and hears each new reading
# of "Индукция B (Тл)".
#
#   e2e_accessibility.sh VELMORA_BINARY OUTDIR
#
# Needs no display and no terminal: it starts the session bus (dbus-run-session), Xvfb on a
# free display number and openbox, keeps the accessibility bus's socket in a runtime folder of
# its own, and stops everything it started when it ends, whether it passes or fails.
set -euo pipefail

binary=$1
out=$2
listener="$(cd "$(dirname "$0")" && pwd)/a11y_listener.py"

# The accessibility bus is started on demand by the session bus and puts its socket under
# XDG_RUNTIME_DIR: a fresh session and a fresh folder keep it apart from any other run.
if [ -z "${VELMORA_A11Y_RUNTIME:-}" ]; then
    mkdir -p "$out"
    rm -rf "$out"/*.log "$out"/display "$out"/runtime
    mkdir -m 700 "$out/runtime"
    export VELMORA_A11Y_RUNTIME="$out/runtime" XDG_RUNTIME_DIR="$out/runtime"
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
    status=0
    dbus-run-session -- "$0" "$@" 2>"$out/session.log" || status=$?
    rm -rf "$out/runtime"
    grep -v 'Failed to set fd limit' "$out/session.log" >&2 || true
    exit "$status"
fi

pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    for i in "${pids[@]}"; do
        wait "$i" 2>/dev/null || true
    done
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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

unset WAYLAND_DISPLAY DISPLAY XAUTHORITY SESSION_MANAGER

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" 2>"$out/xvfb.log" &
pids+=($!)
wait_for 20 grep -q '[0-9]' "$out/display" || fail "Xvfb did not start"
export DISPLAY=":$(tr -dc '0-9' <"$out/display")"
echo "display $DISPLAY"

openbox --sm-disable >"$out/openbox.log" 2>&1 &
pids+=($!)
wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail "openbox did not take over the screen"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$binary" >"$out/velmora.log" 2>&1 &
pids+=($!)
velmora_pid=${pids[-1]}

timeout 120 /usr/bin/python3 "$listener" || fail "the listener did not hear what it should"
kill -0 "$velmora_pid" 2>/dev/null || fail "the program ended under the listener"
echo "PASS"
