#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game kept aside, as a player meets it under a window manager: tiles and a note placed,
# the program killed outright, started again and the game taken up from the menu, board and
# notes as they were, with undo and redo working on the history; then a close from the window
# manager, a start, and the game again; then a stray click and a clear, and the game taken up
# from the list. Usage: kept_game.sh <program> <artifact-dir>
set -euo pipefail

# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$@"
enter_xvfb 1024x768 Xvfb xdotool xwininfo import convert compare openbox -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
export XDG_STATE_HOME=$work/state

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

start() {  # -> main window id in $main, the client area's corner in $cx $cy
    start_main "$program"
    pid=${pids[-1]}
    client_corner "$main"
}
pick() {
    xdotool mousemove $((cx + 8 + 12 + ($1 - 1) * 32 + 12)) $((cy + 420 + 20 + 16)) click 1
    sleep 0.1
}
click_cell() {
    local n=$(($1 - 1))
    xdotool mousemove $((cx + 8 + 44 * (n % 9) + 22)) $((cy + 12 + 44 * (n / 9) + 22)) click 1
    sleep 0.1
}
grid() {  # name -> screenshot of the grid alone
    sleep 0.5
    import -window root "$work/shot.png"
    convert "$work/shot.png" -crop "398x398+$((cx + 7))+$((cy + 11))" +repage "$work/$1.png"
}
same() {  # two grid shots -> true when no pixel differs
    [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]
}
resume() {
    xdotool windowfocus --sync "$main" key alt+g
    sleep 0.3
    xdotool key r
}

start
pick 5
click_cell 1
pick 3
click_cell 11
xdotool windowfocus --sync "$main" key F3
pick 7
click_cell 3
pick 9
click_cell 3
xdotool windowfocus --sync "$main" key F3
grid played
[ -s "$XDG_STATE_HOME/kazarinoset/game.txt" ] || fail "no game kept aside"

kill -9 "$pid"
sleep 0.5
start
grid fresh
same played fresh && fail "the game came back before it was asked for"
resume
grid resumed
same played resumed || fail "the resumed board differs from the one played"
xdotool windowfocus --sync "$main" key ctrl+u
grid undone
same played undone && fail "undo after resuming changed nothing"
xdotool windowfocus --sync "$main" key ctrl+y
grid redone
same played redone || fail "redo did not bring the note back"
convert "$work/shot.png" -crop "413x488+$cx+$cy" +repage "$artifacts/e2e-resumed.png"

# A close as a log-out makes it: the window manager asks the window to close.
pick 4
click_cell 81
grid closing
xdotool windowfocus --sync "$main" key alt+F4
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the window did not close"
start
resume
grid again
same closing again || fail "the game closed by the window manager did not come back"

# A stray click and a clear after a start cost nothing: the game comes back from the list of
# kept games, the second entry after the stray one.
kill -9 "$pid"
sleep 0.5
start
click_cell 80
xdotool windowfocus --sync "$main" key alt+f
sleep 0.3
xdotool key e
grid cleared
same again cleared && fail "the clear left the board as it was"
xdotool windowfocus --sync "$main" key alt+g
sleep 0.3
xdotool key l
sleep 0.5
xdotool key Down Return
grid listed
same again listed || fail "the game cleared away did not come back from the list"
echo "PASS"
