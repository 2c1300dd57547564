#!/usr/bin/env bash
# End-to-end run of the real Velmora binary in its own X server with openbox, driven by real
# pointer clicks. Checks the client size, the centring and the maximise action of the main
# window, clicks "Сдвиг", "Поворот +" and "Копировать рисунок", reads the clipboard's targets
# back, renders the copied SVG and decodes the copied PNG. Screenshots stay in OUTDIR for a
# person to look at.
#
#   e2e_main_window.sh VELMORA_BINARY OUTDIR
#
# Needs no display and no terminal (see tests/support/desktop-session.sh).
set -euo pipefail

binary=$1
out=$2
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.svg "$out"/*.log

screen_width=1280
screen_height=1024
source "$(dirname "$0")/../support/desktop-session.sh"

fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "$out"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

start_desktop "$screen_width" "$screen_height" ||
    fail "no X server with openbox could be started"

QT_QPA_PLATFORM=xcb "$binary" >"$out/velmora.log" 2>&1 &
pids+=($!)
velmora_pid=${pids[-1]}

title='^Velmora - Исследование магнитного поля кругового тока$'
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1) ||
    fail "the main window did not appear"
[ -n "$window" ] || fail "the main window did not appear"
# Let the window manager finish placing and decorating it.
wait_for 10 sh -c "xprop -id $window _NET_FRAME_EXTENTS | grep -q '='" ||
    fail "openbox did not frame the window"

# The client area and the centring of the framed window on the desktop.
measure() {
    measure_window "$window"
    width=$client_width
    height=$client_height
    outer_width=$((width + frame_left + frame_right))
    outer_height=$((height + frame_top + frame_bottom))
    expected_left=$((screen_width / 2 - outer_width / 2))
    expected_top=$((screen_height / 2 - outer_height / 2))
    actual_left=$((client_x - frame_left))
    actual_top=$((client_y - frame_top))
}
centred() {
    measure
    [ "$actual_left" = "$expected_left" ] && [ "$actual_top" = "$expected_top" ]
}
# The window centres itself again once the window manager has told it its frame.
wait_for 5 centred || true
measure
echo "client ${width}x${height} at ${client_x},${client_y}; frame $frame_left $frame_right $frame_top $frame_bottom"
[ "$width" = 1023 ] && [ "$height" = 737 ] || fail "client area is ${width}x${height}, not 1023x737"
echo "frame at ${actual_left},${actual_top}; centred would be ${expected_left},${expected_top}"
centred || fail "window not centred: frame at ${actual_left},${actual_top}, expected ${expected_left},${expected_top}"

# The window can be maximised: openbox maximises only a frame that can also be resized.
actions=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
grep -q _NET_WM_ACTION_MAXIMIZE_VERT <<<"$actions" || fail "the window cannot be maximised: $actions"

import -window root "$out/01-start.png"

# Real clicks on the buttons, at their centres in the window's client area.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}
click $((720 + 73 / 2)) $((48 + 25 / 2))  # "Сдвиг"
click $((720 + 75 / 2)) $((8 + 25 / 2))   # "Поворот +"
import -window root "$out/02-after-move-and-turn.png"
changed=$(compare -metric AE "$out/01-start.png" "$out/02-after-move-and-turn.png" null: 2>&1 || true)
echo "pixels changed by the two commands: $changed"
[ "${changed%% *}" -gt 0 ] 2>/dev/null || fail "the clicks changed nothing on screen"

click $((8 + 137 / 2)) $((680 + 25 / 2))  # "Копировать рисунок"

# The clipboard offers the picture as SVG and as the raster formats a word processor pastes.
targets=$(timeout 10 xclip -selection clipboard -t TARGETS -o) || fail "clipboard is empty"
echo "clipboard targets:" $targets
for target in image/svg+xml image/png image/bmp image/jpeg; do
    grep -qx "$target" <<<"$targets" || fail "no $target on the clipboard"
done
others=$(grep -vxE 'image/.*|application/x-qt-image|BITMAP|PIXMAP|TARGETS|TIMESTAMP|MULTIPLE|SAVE_TARGETS' \
    <<<"$targets" || true)
[ -z "$others" ] || fail "the clipboard offers more than the picture: $others"

timeout 10 xclip -selection clipboard -t image/svg+xml -o >"$out/copy.svg"
grep -q 'width="700px"' "$out/copy.svg" && grep -q 'height="700px"' "$out/copy.svg" ||
    fail "the picture is not 700 x 700 pixels"
if grep -q -e 'Копировать' -e 'Информация' -e 'Параметры' "$out/copy.svg"; then
    fail "the picture holds a button caption"
fi
rsvg-convert "$out/copy.svg" -o "$out/03-copied-picture.png"
size=$(identify -format '%wx%h' "$out/03-copied-picture.png")
[ "$size" = 700x700 ] || fail "the rendered picture is $size"
timeout 10 xclip -selection clipboard -t image/png -o >"$out/03-copied-raster.png"
size=$(identify -format '%wx%h' "$out/03-copied-raster.png") || fail "the PNG does not decode"
[ "$size" = 1400x1400 ] || fail "the raster picture is $size, not 1400x1400"

import -window "$window" "$out/04-main-window.png"

# A walk as a student makes it: typed values, the three option boxes, eighteen steps.
type_value() {  # row, text: into the value cell of a readout row
    click $((720 + 155 + 44)) $((184 + 1 + 19 + 19 * $1 + 9))
    xdotool key ctrl+a
    xdotool type --delay 20 -- "$2"
}
type_value 0 20
type_value 1 3
type_value 4 12
type_value 5 -8
click $((720 + 73 / 2)) $((80 + 25 / 2))  # "В начало"
click $((720 + 8)) $((112 + 8))           # "Фиксировать угол" off
click $((720 + 8)) $((136 + 8))           # "Рассчитывать циркуляцию" on
click $((720 + 8)) $((160 + 8))           # "Записывать протокол" on
for _ in $(seq 18); do
    xdotool mousemove --window "$window" $((720 + 73 / 2)) $((48 + 25 / 2)) click 1
    sleep 0.15
done
sleep 0.5
import -window "$window" "$out/05-walk.png"
kill -0 "$velmora_pid" 2>/dev/null || fail "Velmora ended on its own"
echo "PASS: screenshots in $out"
