#!/usr/bin/env bash
# End-to-end run of the real Velmora binary in its own X server with openbox, driven by real
# clicks and keystrokes: opens the information and apparatus windows and checks they stay
# above the main window with the program's icon, belong to it and have no task-bar entry,
# closes a side window and brings it back,
# shows the error box for a bad typed value, and asks the close question through the window
# manager's close keystroke (Escape keeps the program, Enter ends it with status 0).
# Screenshots stay in OUTDIR for a person to look at.
#
#   e2e_side_windows.sh VELMORA_BINARY OUTDIR
#
# Needs no display and no terminal (see tests/support/desktop-session.sh).
set -euo pipefail

binary=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log "$out"/display

source "$(dirname "$0")/../support/desktop-session.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The id of the visible window whose title is exactly $1, waiting up to 15 seconds.
find_window() {
    local id
    id=$(timeout 15 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1) || return 1
    [ -n "$id" ] && echo "$id"
}

is_visible() {
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}

wm_state() {
    xprop -id "$1" _NET_WM_STATE
}

# Whether the window carries the program's 94 x 94 icon. (grep reads all of xprop's long
# output: an early exit would fail the pipe under pipefail.)
has_icon() {
    xprop -id "$1" _NET_WM_ICON | grep 'Icon (94 x 94)' >/dev/null
}

# A screenshot of a window with its frame, cut from the whole screen.
shoot() {
    local id=$1 file=$2 info x y w h l r t b
    info=$(xwininfo -id "$id")
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    w=$(awk '/^  Width:/ {print $2}' <<<"$info")
    h=$(awk '/^  Height:/ {print $2}' <<<"$info")
    read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    import -window root -crop "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))" +repage "$file"
}

client_size() {
    local info
    info=$(xwininfo -id "$1")
    echo "$(awk '/^  Width:/ {print $2}' <<<"$info")x$(awk '/^  Height:/ {print $2}' <<<"$info")"
}

# The outer frame of a window: left top width height.
frame_of() {
    local info x y w h l r t b
    info=$(xwininfo -id "$1")
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    w=$(awk '/^  Width:/ {print $2}' <<<"$info")
    h=$(awk '/^  Height:/ {print $2}' <<<"$info")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}

start_desktop 1280 1024 || fail "no X server with openbox could be started"

QT_QPA_PLATFORM=xcb "$binary" >"$out/velmora.log" 2>&1 &
pids+=($!)
velmora_pid=${pids[-1]}

main=$(find_window 'Velmora - Исследование магнитного поля кругового тока') ||
    fail "the main window did not appear"
wait_for 10 sh -c "xprop -id $main _NET_FRAME_EXTENTS | grep -q '='" ||
    fail "openbox did not frame the main window"
sleep 1
is_visible 'Информация' && fail "the information window is open at start-up"
is_visible 'Описание установки' && fail "the apparatus window is open at start-up"
has_icon "$main" || fail "the main window has no 94 x 94 icon"

# "Информация" and "Параметры установки" lie on the plot, which starts at (8, 8).
click "$main" $((8 + 88 + 40)) $((8 + 12))
information=$(find_window 'Информация') || fail "Информация did not open the information window"
wait_for 10 sh -c "xprop -id $information _NET_FRAME_EXTENTS | grep -q '='" ||
    fail "openbox did not frame the information window"
sleep 1
shoot "$information" "$out/01-information.png"
click "$main" $((8 + 176 + 64)) $((8 + 12))
apparatus=$(find_window 'Описание установки') || fail "the apparatus window did not open"
wait_for 10 sh -c "xprop -id $apparatus _NET_FRAME_EXTENTS | grep -q '='" ||
    fail "openbox did not frame the apparatus window"
sleep 1
shoot "$apparatus" "$out/02-apparatus.png"

for pair in "$information:653x338" "$apparatus:534x449"; do
    id=${pair%%:*}
    [ "$(client_size "$id")" = "${pair#*:}" ] ||
        fail "window $id is $(client_size "$id"), not ${pair#*:}"
    wm_state "$id" | grep _NET_WM_STATE_ABOVE >/dev/null || fail "window $id does not stay on top"
    has_icon "$id" || fail "window $id has no 94 x 94 icon"
    xprop -id "$id" _NET_WM_ALLOWED_ACTIONS | grep -q _NET_WM_ACTION_MAXIMIZE_VERT ||
        fail "window $id cannot be maximised"
    # It belongs to the main window, and a task bar shows the program's one entry only.
    xprop -id "$id" WM_TRANSIENT_FOR | grep -q "# $(printf '0x%x' "$main")\$" ||
        fail "window $id is not transient for the main window"
    wm_state "$id" | grep -q _NET_WM_STATE_SKIP_TASKBAR || fail "window $id has a task-bar entry"
done
wm_state "$main" | grep -q _NET_WM_STATE_SKIP_TASKBAR && fail "the main window has no task-bar entry"

# The first show centres the frame over the main window's frame.
read -r ml mt mw mh < <(frame_of "$main")
read -r al at aw ah < <(frame_of "$apparatus")
echo "main frame $ml,$mt ${mw}x$mh; apparatus frame $al,$at ${aw}x$ah"
[ "$al" = $((ml + (mw - aw) / 2)) ] && [ "$at" = $((mt + (mh - ah) / 2)) ] ||
    fail "the apparatus window is not centred over the main window"

# The place of a window in the window manager's stacking order, bottom first.
stack_position() {
    local i=0 w
    for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g'); do
        [ $((w)) = $(($1)) ] && echo $i && return
        i=$((i + 1))
    done
    echo -1
}

# "Информация" again, with the information window behind the apparatus window, brings it to
# the front; working in the main window then leaves both side windows above it.
[ "$(stack_position "$apparatus")" -gt "$(stack_position "$information")" ] ||
    fail "the apparatus window did not open in front"
click "$main" $((8 + 88 + 40)) $((8 + 12))
[ "$(xdotool search --onlyvisible --name '^Информация$' | wc -l)" = 1 ] ||
    fail "a second information window appeared"
[ "$(stack_position "$information")" -gt "$(stack_position "$apparatus")" ] ||
    fail "Информация did not bring the information window to the front"
click "$main" 900 600
for id in "$information" "$apparatus"; do
    [ "$(stack_position "$id")" -gt "$(stack_position "$main")" ] ||
        fail "window $id went below the main window"
done
import -window root "$out/03-side-windows-over-main.png"

# Minimising the main window takes the side windows along; restoring brings them back.
xdotool windowminimize --sync "$main"
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Информация\$'" ||
    fail "the information window stayed when the main window was minimised"
is_visible 'Описание установки' && fail "the apparatus window stayed when the main window was minimised"
xdotool windowactivate --sync "$main"
wait_for 10 xdotool search --onlyvisible --name '^Информация$' ||
    fail "the information window did not come back with the main window"
wait_for 10 xdotool search --onlyvisible --name '^Описание установки$' ||
    fail "the apparatus window did not come back with the main window"
sleep 0.5

# Closing a side window through the window manager hides it without a question; the next
# show brings it back where it was.
xdotool windowactivate --sync "$apparatus"
xdotool key alt+F4
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Описание установки\$'" ||
    fail "the close keystroke did not hide the apparatus window"
sleep 0.5
is_visible 'Confirm' && fail "closing a side window asked a question"
kill -0 "$velmora_pid" 2>/dev/null || fail "closing a side window ended the program"
click "$main" $((8 + 176 + 64)) $((8 + 12))
apparatus=$(find_window 'Описание установки') || fail "the apparatus window did not come back"
sleep 0.5
read -r bl bt _ _ < <(frame_of "$apparatus")
[ "$bl $bt" = "$al $at" ] || fail "the apparatus window came back at $bl,$bt, not $al,$at"

# A bad rotation step: type "abc" into the first value cell of the table and press
# "Поворот +". The table starts at (720, 184) with a 19-pixel title row and 155-pixel names.
click "$main" $((720 + 155 + 40)) $((184 + 1 + 19 + 9))
click "$main" $((720 + 155 + 40)) $((184 + 1 + 19 + 9))
xdotool key ctrl+a BackSpace
xdotool type --delay 50 abc
click "$main" $((720 + 37)) $((8 + 12))
box=$(find_window 'Velmora') || fail "no error box titled Velmora appeared"
sleep 0.5
shoot "$box" "$out/04-error-box.png"
wm_state "$box" | grep _NET_WM_STATE_MODAL >/dev/null || fail "the error box is not modal"
xdotool key Return
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Velmora\$'" ||
    fail "Enter did not close the error box"
kill -0 "$velmora_pid" 2>/dev/null || fail "the error ended the program"

# A close request through the window manager asks first; Escape keeps the program.
xdotool windowactivate --sync "$main"
xdotool key alt+F4
confirm=$(find_window 'Confirm') || fail "the close keystroke did not ask Confirm"
sleep 0.5
# Its frame, not only its client area, is centred on the screen.
read -r cl ct cw ch < <(frame_of "$confirm")
echo "Confirm frame $cl,$ct ${cw}x$ch"
((cl - (1280 - cw) / 2 <= 1 && (1280 - cw) / 2 - cl <= 1 && ct - (1024 - ch) / 2 <= 1 &&
    (1024 - ch) / 2 - ct <= 1)) || fail "the Confirm frame at $cl,$ct is not centred"
shoot "$confirm" "$out/05-confirm.png"
import -window root "$out/06-confirm-over-windows.png"
wm_state "$confirm" | grep _NET_WM_STATE_ABOVE >/dev/null || fail "Confirm can hide behind a side window"
xdotool key Escape
wait_for 10 sh -c "! xdotool search --onlyvisible --name '^Confirm\$'" ||
    fail "Escape did not answer Confirm"
sleep 0.5
kill -0 "$velmora_pid" 2>/dev/null || fail "Escape ended the program"
is_visible 'Информация' || fail "Escape closed the information window"

# Asked again, Enter answers OK: the program ends with status 0.
xdotool windowactivate --sync "$main"
xdotool key alt+F4
find_window 'Confirm' >/dev/null || fail "the second close request did not ask"
sleep 0.5
xdotool key Return
status=0
timeout 10 tail --pid="$velmora_pid" -f /dev/null || fail "Enter on Confirm did not end the program"
wait "$velmora_pid" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS: screenshots in $out"
