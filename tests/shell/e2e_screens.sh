#!/usr/bin/env bash
# End-to-end run of the real Velmora binary on a screen of a given size and scale, with
# openbox and a 40-pixel panel along the bottom edge (a dock window with a strut, as a task
# bar is): the framed main window lies inside the work area, as large as it allows where the
# designed window does not fit, and every one of the twelve buttons, scrolled into view
# where it must be, is clicked with the pointer and does its command. Then the window is
# maximised. Screenshots stay in OUTDIR for a person to look at.
#
#   e2e_screens.sh VELMORA_BINARY OUTDIR WIDTH HEIGHT SCALE
#
# Needs no display and no terminal (see tests/support/desktop-session.sh).
set -euo pipefail

binary=$1
out=$2
screen_width=$3
screen_height=$4
scale=$5
panel=40
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log

source "$here/../support/desktop-session.sh"

fail() {
    echo "FAIL (${screen_width}x${screen_height} at scale $scale): $*" >&2
    [ -s "$out/velmora.log" ] && tail -n 20 "$out/velmora.log" >&2
    exit 1
}

# Device pixels of a length in the window's own pixels, rounded.
px() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s + 0.5 }'; }

start_desktop "$screen_width" "$screen_height" ||
    fail "no X server with openbox could be started"
"$here/dock_panel.py" "$panel" >"$out/panel.log" 2>&1 &
pids+=($!)
work_height=$((screen_height - panel))
wait_for 10 sh -c "xprop -root _NET_WORKAREA | grep -q '= 0, 0, $screen_width, $work_height'" ||
    fail "the panel did not take its room from the work area"

QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale LC_ALL=C.UTF-8 "$binary" >"$out/velmora.log" 2>&1 &
pids+=($!)
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora - ' | head -n 1) ||
    fail "the main window did not appear"
wait_for 10 sh -c "xprop -id $window _NET_FRAME_EXTENTS | grep -q '='" ||
    fail "openbox did not frame the window"
sleep 1.5  # the window places itself again once it knows its frame

measure_window "$window"
left=$((client_x - frame_left))
top=$((client_y - frame_top))
right=$((client_x + client_width + frame_right))
bottom=$((client_y + client_height + frame_bottom))
echo "frame $left,$top to $right,$bottom; client ${client_width}x$client_height"
import -window root "$out/01-opened.png"

# The frame lies in the work area, and fills it in each direction the designed window does
# not fit (to a pixel or two: at a fractional scale the frame is rounded to the window's own
# pixels).
((left >= 0 && top >= 0 && right <= screen_width && bottom <= work_height)) ||
    fail "the frame $left,$top to $right,$bottom leaves the work area ${screen_width}x$work_height"
designed_width=$(px 1023)
designed_height=$(px 737)
if ((designed_height + frame_top + frame_bottom > work_height)); then
    ((top <= 2 && bottom >= work_height - 2)) || fail "the frame is not as tall as the work area"
fi
if ((designed_width + frame_left + frame_right > screen_width)); then
    ((left <= 2 && right >= screen_width - 2)) || fail "the frame is not as wide as the work area"
fi

# The scroll bars of the designed area (Fusion's are 14 pixels broad) and the part of the
# designed area they leave in view.
bar=$(px 14)
vertical=0 horizontal=0
((client_height < designed_height)) && vertical=1
((client_width - vertical * bar < designed_width)) && horizontal=1
((client_height - horizontal * bar < designed_height)) && vertical=1
view_width=$((client_width - vertical * bar))
view_height=$((client_height - horizontal * bar))
echo "scroll bars: vertical $vertical, horizontal $horizontal; view ${view_width}x$view_height"

# Scrolls the designed area fully to its start or its end along one direction (x or y),
# with the wheel over that direction's scroll bar; offset_x and offset_y say how much of the
# designed area is then scrolled out of view to the left and above.
offset_x=0 offset_y=0
scroll() {
    local axis=$1 where=$2 button=4
    [ "$where" = end ] && button=5
    if [ "$axis" = y ] && ((vertical)); then
        xdotool mousemove --window "$window" $((client_width - bar / 2)) $((view_height / 2)) \
            click --repeat 20 --delay 10 "$button"
        offset_y=0
        [ "$where" = end ] && offset_y=$((designed_height - view_height))
    elif [ "$axis" = x ] && ((horizontal)); then
        xdotool mousemove --window "$window" $((view_width / 2)) $((client_height - bar / 2)) \
            click --repeat 20 --delay 10 "$button"
        offset_x=0
        [ "$where" = end ] && offset_x=$((designed_width - view_width))
    fi
    return 0
}

# Clicks the middle of a control at left, top, width, height in the designed area (in the
# window's own pixels), scrolled into view first where it lies beyond the view.
press() {
    local name=$1 x y w h
    x=$(px "$2") y=$(px "$3") w=$(px "$4") h=$(px "$5")
    if ((x + w > view_width)); then scroll x end; else scroll x start; fi
    if ((y + h > view_height)); then scroll y end; else scroll y start; fi
    sleep 0.2
    xdotool mousemove --window "$window" $((x + w / 2 - offset_x)) $((y + h / 2 - offset_y)) click 1
    sleep 0.4
    echo "pressed $name"
}

# The protocol's text, copied out of the protocol box with the keyboard.
protocol() {
    press "the protocol box" 720 400 249 281 >/dev/null
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    timeout 5 xclip -selection clipboard -o 2>/dev/null || true
}

press "Записывать протокол" 720 160 137 17
press "Поворот +" 720 8 75 25
press "Сдвиг" 720 48 73 25
press "Поворот -" 800 8 75 25
press "Шаг по X" 800 48 73 25
press "Шаг по Y" 880 48 73 25
press "В начало" 720 80 73 25
press "Записать" 808 688 75 25
import -window root "$out/02-recorded.png"
text=$(protocol)
expected_lines=$'x (см):0.9962\ny (см):0.08716\nУгол датчика:5\nx (см):1.996\ny (см):0.08716\nУгол датчика:0\nx (см):1.996\ny (см):1.087\nУгол датчика:0\nx (см):0\ny (см):0\nУгол датчика:0'
[ "$(grep -v -e '^B (Тл):' -e '^ $' <<<"$text")" = "$expected_lines" ] ||
    fail "the protocol after the walk is: $text"

press "Стереть" 896 688 75 25
press "Записать" 808 688 75 25
press "Начать/Сброс" 8 8 81 25
press "Сдвиг" 720 48 73 25  # Reset cleared "Записывать протокол": no entry
press "Записать" 808 688 75 25
text=$(protocol)
[ "$(grep '^x (см):' <<<"$text" | tr '\n' ' ')" = 'x (см):0 x (см):1 ' ] ||
    fail "after Стереть and Начать/Сброс the protocol is: $text"

press "Информация" 96 8 81 25
wait_for 10 xdotool search --onlyvisible --name '^Информация$' || fail "Информация opened nothing"
import -window root "$out/03-information.png"
press "Параметры установки" 184 8 129 25
apparatus=$(timeout 10 xdotool search --sync --onlyvisible --name '^Описание установки$' |
    head -n 1) || fail "Параметры установки opened nothing"
import -window root "$out/04-apparatus.png"
for name in 'Информация' 'Описание установки'; do
    id=$(xdotool search --onlyvisible --name "^$name\$" | head -n 1)
    read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X:/ {x=$4}
        /Absolute upper-left Y:/ {y=$4} /^  Width:/ {w=$2} /^  Height:/ {h=$2} END {print x, y, w, h}')
    ((y + h <= work_height && x + w <= screen_width && x >= 0 && y >= 0)) ||
        fail "$name lies beyond the work area"
    xdotool windowactivate --sync "$id" key alt+F4
    wait_for 10 sh -c "! xdotool search --onlyvisible --name '^$name\$'" || fail "$name did not close"
done
: "$apparatus"

press "Копировать рисунок" 0 680 137 25
timeout 10 xclip -selection clipboard -t TARGETS -o | grep -qx 'image/png' ||
    fail "Копировать рисунок put no picture on the clipboard"

# Maximised, the window fills the work area and shows the designed area at its top left,
# unscrolled, with more of its ground to the right and below where there is room.
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
wait_for 10 sh -c "xprop -id $window _NET_WM_STATE | grep -q MAXIMIZED_VERT" ||
    fail "the window cannot be maximised"
sleep 1
import -window root "$out/05-maximised.png"
width=$(xwininfo -id "$window" | awk '/^  Width:/ {print $2}')
((width + frame_left + frame_right >= screen_width - 2)) || fail "maximised, the window is $width wide"
echo "PASS: screenshots in $out"
