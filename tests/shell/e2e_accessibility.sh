#!/usr/bin/env bash
# End-to-end run of the real Velmora binary under a real accessibility bus: in a D-Bus session
# of its own, with its own X server and openbox, the program starts with Qt's accessibility
# bridge on, and a listener (a11y_listener.py, through Debian's pyatspi) walks the program's
# tree, presses "Сдвиг", "Поворот +" and "Сдвиг" through the bus and hears each new reading
# of "Индукция B (Тл)".
#
#   e2e_accessibility.sh VELMORA_BINARY OUTDIR
#
# Needs no display and no terminal: it starts the session bus (dbus-run-session) and keeps
# the accessibility bus's socket in a runtime folder of its own; the X server is started and
# everything stopped at the end as in the other window tests (tests/support/desktop-session.sh).
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

source "$(dirname "$0")/../support/desktop-session.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_desktop 1280 1024 || fail "no X server with openbox could be started"

QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$binary" >"$out/velmora.log" 2>&1 &
pids+=($!)
velmora_pid=${pids[-1]}

timeout 120 /usr/bin/python3 "$listener" || fail "the listener did not hear what it should"
kill -0 "$velmora_pid" 2>/dev/null || fail "the program ended under the listener"
echo "PASS"
