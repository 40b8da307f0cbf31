#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the program in a virtual X server, makes a level-1 puzzle through F2 and the
# new-problem dialog, checks the caption and the givens on a screenshot, then asks for a hint
# and checks that its house is highlighted and its panel lies beside the window. Usage: new_problem.sh <program> <artifact-dir>
set -euo pipefail

# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$@"
enter_xvfb 800x600 Xvfb xdotool import convert -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

start_main "$program"
grid="396x396+$X+$((Y + HEIGHT - 488 + 12))"
pixels() {  # screenshot, colour -> how many pixels of the grid have it
    convert "$1" -crop "$grid" +repage txt:- | grep -ci "$2" || true
}

xdotool windowfocus --sync "$main" key F2
dialog=$(wait_window '新しい問題の作成')
sleep 0.5
# The first level's option button, then OK as the default button.
xdotool mousemove --window "$dialog" 22 34 click 1
sleep 0.2
xdotool key Return
for _ in $(seq 100); do
    title=$(xdotool getwindowname "$main")
    [ "$title" != "Kazarinoset" ] && break
    sleep 0.1
done
echo "caption: $title"
[ "$title" = "Kazarinoset [新しい問題 入門]" ] || fail "caption is '$title'"
sleep 0.3
import -window root "$work/puzzle.png"
# Givens show in light yellow.
givens=$(pixels "$work/puzzle.png" '#FFFF00')
echo "given-coloured pixels: $givens"
[ "$givens" -gt 17000 ] || fail "too few givens drawn"

xdotool windowfocus --sync "$main" key ctrl+i
panel=$(wait_window '^ﾋﾝﾄ$')
sleep 1
import -window root "$work/hint.png"
convert "$work/hint.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$artifacts/e2e_hint.png"
# The first look names the house to look at and colours it, beside the grid, not over it.
house=$(pixels "$work/hint.png" '#AAE1AA')
echo "house-coloured pixels: $house"
[ "$house" -gt 500 ] || fail "no house highlighted by the hint"
eval "$(xdotool getwindowgeometry --shell "$panel" | sed 's/^/PANEL_/')"
[ "$PANEL_X" -ge $((X + WIDTH)) ] || [ $((PANEL_X + PANEL_WIDTH)) -le "$X" ] ||
    fail "the hint's panel lies over the window"
echo "PASS"
