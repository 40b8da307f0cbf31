#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the program in a virtual X server, picks the 5 from the palette, clicks the centre
# cell and checks on screenshots that the cell now shows a tile; then starts a second copy
# and checks that it is refused. Usage: place_tile.sh <program> <artifact-dir>
set -euo pipefail

# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$@"
enter_xvfb 800x600 Xvfb xdotool import convert -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

start_main "$program"
# The client area (413 x 488) lies under the menu bar.
cx=$X
cy=$((Y + HEIGHT - 488))
echo "window $main at $X,$Y size ${WIDTH}x$HEIGHT"

# The tile area of cell 41 (row 5, column 5) in screen coordinates.
tile_x=$((cx + 18 + 4 * 44))
tile_y=$((cy + 18 + 4 * 44))
colours() {  # screenshot -> number of distinct colours in the cell's tile area
    convert "$1" -crop "24x32+$tile_x+$tile_y" +repage -format '%k' info:
}

import -window root "$work/before.png"
[ "$(colours "$work/before.png")" = 1 ] || fail "cell 41 is not blank at start"

# Palette item 5 (inside the palette box at 8, 420), then the middle of cell 41.
xdotool mousemove $((cx + 8 + 12 + 4 * 32 + 12)) $((cy + 420 + 20 + 16)) click 1
sleep 0.3
xdotool mousemove $((cx + 8 + 4 * 44 + 22)) $((cy + 12 + 4 * 44 + 22)) click 1
sleep 0.5
import -window root "$work/after.png"
convert "$work/after.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$artifacts/e2e.png"
after=$(colours "$work/after.png")
echo "colours in the cell: before 1, after $after"
[ "$after" -gt 8 ] || fail "no tile drawn in cell 41"

# A second copy is refused with its error box and never shows a main window.
"$program" &
second=$!
pids+=($second)
box=$(wait_window 'Form_Load Error')
[ "$(xdotool search --onlyvisible --name "^Kazarinoset$" | wc -l)" = 1 ] || fail "second main window"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 50); do
    kill -0 "$second" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$second" 2>/dev/null; then fail "second copy still running after its box"; fi
kill -0 "${pids[0]}" 2>/dev/null || fail "the first copy ended"
echo "PASS"
