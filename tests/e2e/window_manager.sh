#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program under a window manager, as a player meets it: the main window, a dialog and a
# second copy's box are centred with their title bars, and after a menu has been opened and
# closed from the keyboard, typed letters leave the board alone. Usage: window_manager.sh <program> <artifact-dir>
set -euo pipefail

# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$@"
enter_xvfb 1024x768 Xvfb xdotool xprop xwininfo import convert openbox -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

frame_centre() {  # window id -> "x y" of the centre of its frame, title bar included
    local id=$1 x y w h left right top bottom
    x=$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print $4}')
    y=$(xwininfo -id "$id" | awk '/Absolute upper-left Y/ {print $4}')
    w=$(xwininfo -id "$id" | awk '/Width:/ {print $2}')
    h=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | tr -dc '0-9 \n' |
                                      awk '{print $1, $2, $3, $4}')
    [ -n "$top" ] || fail "the window manager gave window $id no frame"
    echo $(((2 * (x - left) + w + left + right) / 2)) $(((2 * (y - top) + h + top + bottom) / 2))
}

expect_centred() {  # what, window id
    local cx cy
    read -r cx cy < <(frame_centre "$2")
    echo "$1: frame centre $cx,$cy"
    if [ $((cx - 512)) -lt -2 ] || [ $((cx - 512)) -gt 2 ] ||
        [ $((cy - 384)) -lt -2 ] || [ $((cy - 384)) -gt 2 ]; then
        fail "$1 is not centred on the 1024x768 screen"
    fi
}

"$program" &
pids+=($!)
main=$(wait_window '^Kazarinoset$')
sleep 1
expect_centred "main window" "$main"

eval "$(xdotool getwindowgeometry --shell "$main")"
client_corner "$main"
tile="24x32+$((cx + 18))+$((cy + 18))"  # the tile area of cell 1
colours() { convert "$1" -crop "$tile" +repage -format '%k' info:; }

# Palette item 5, then cell 1.
xdotool mousemove $((cx + 8 + 12 + 4 * 32 + 12)) $((cy + 420 + 20 + 16)) click 1
sleep 0.3
xdotool mousemove $((cx + 8 + 22)) $((cy + 12 + 22)) click 1
sleep 0.5
import -window root "$work/placed.png"
[ "$(colours "$work/placed.png")" -gt 8 ] || fail "no tile placed in cell 1"

# The file menu by its access key, closed again with Esc, Esc; then letters that would
# reach the file menu's clear-all item if the menu bar still took them.
xdotool key alt+f
sleep 0.5
xdotool key Escape
sleep 0.3
xdotool key Escape
sleep 0.3
xdotool type --delay 200 fe
sleep 0.5
xdotool key Escape Escape
sleep 0.3
import -window root "$work/letters.png"
convert "$work/letters.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$artifacts/e2e-wm.png"
[ "$(colours "$work/letters.png")" -gt 8 ] || fail "typed letters cleared the board"

# The options dialog, opened from the keyboard.
xdotool key alt+t
sleep 0.5
xdotool key o
options=$(wait_window 'ｵﾌﾟｼｮﾝ設定')
sleep 1
expect_centred "options dialog" "$options"
xdotool key Escape

# A second copy's refusal has no window to sit over: its box is centred on the screen too.
"$program" &
pids+=($!)
box=$(wait_window 'Form_Load Error')
sleep 1.5
expect_centred "second copy's box" "$box"
xdotool windowfocus --sync "$box" key Return
echo "PASS"
