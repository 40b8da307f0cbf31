#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A puzzle of the fourth level played with notes, as a player would under a window manager:
# made through F2, saved to learn its answer, all candidates written from the menu, a note
# toggled in the note mode, then every answer placed by clicks while the notes tidy
# themselves, after a few hints done on the notes, to the congratulation. Usage: notes.sh <program> <checker> <artifact-dir>
set -euo pipefail

checker=$(realpath "$2")
# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$1" "$3"
enter_xvfb 1024x768 Xvfb xdotool xwininfo import convert openbox -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
start_main "$program"
client_corner "$main"
cell_at() {  # cell 1..81 -> "x y" of its centre
    local n=$(($1 - 1))
    echo $((cx + 8 + 44 * (n % 9) + 22)) $((cy + 12 + 44 * (n / 9) + 22))
}
pick() {  # palette item 1..10
    xdotool mousemove $((cx + 8 + 12 + ($1 - 1) * 32 + 12)) $((cy + 420 + 20 + 16)) click 1
    sleep 0.05
}
click_cell() {
    # shellcheck disable=SC2046
    xdotool mousemove $(cell_at "$1") click 1
    sleep 0.05
}
ink() {  # screenshot, cell -> how many dark pixels the cell shows
    local x y
    read -r x y < <(cell_at "$2")
    convert "$1" -crop "36x36+$((x - 18))+$((y - 18))" +repage -threshold 50% \
        -format '%[fx:int(w*h*(1-mean))]' info:
}

xdotool windowfocus --sync "$main" key F2
dialog=$(wait_window '新しい問題の作成')
sleep 0.5
xdotool mousemove --window "$dialog" 22 94 click 1  # the fourth level
sleep 0.2
xdotool key Return
for _ in $(seq 300); do
    title=$(xdotool getwindowname "$main")
    [ "$title" != "Kazarinoset" ] && break
    sleep 0.1
done
[ "$title" = "Kazarinoset [新しい問題 上級]" ] || fail "caption is '$title'"

# Saved to a file, whose digits the checker completes.
xdotool windowfocus --sync "$main" key ctrl+s
sleep 1
xdotool type --delay 20 "$work/puzzle.csv"
xdotool key Return
sleep 1
xdotool key Return  # the saved notice
sleep 0.3
[ -s "$work/puzzle.csv" ] || fail "the puzzle was not saved"
givens=$(tr -d ',\r\n' <"$work/puzzle.csv")
answer=$("$checker" --solve "$work/puzzle.csv")
[ ${#answer} -eq 81 ] || fail "no answer for $givens"

# All candidates from the keyboard: the game menu, the fill item.
xdotool windowfocus --sync "$main" key alt+g
sleep 0.3
xdotool key w
sleep 0.5
first=""
for n in $(seq 81); do
    [ "${givens:n-1:1}" = 0 ] && { first=$n; break; }
done
import -window root "$work/filled.png"
convert "$work/filled.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$artifacts/e2e-notes.png"
[ "$(ink "$work/filled.png" "$first")" -gt 10 ] || fail "no notes drawn in cell $first"

# In the note mode a click takes a note away, and F3 again returns to placing.
xdotool key F3
digit=${answer:first-1:1}
other=$((digit % 9 + 1))
pick "$other"
before=$(ink "$work/filled.png" "$first")
click_cell "$first"
click_cell "$first"  # toggled twice: back as it was
xdotool windowfocus --sync "$main" key F3
sleep 0.3

hinted=""
# A few steps from the hint, each done on the notes from its panel beside the window.
for _ in 1 2 3 4 5; do
    xdotool windowfocus --sync "$main" key ctrl+i
    panel=$(wait_window '^ﾋﾝﾄ$')
    sleep 0.5
    [ "$hinted" ] || {
        import -window root "$work/hinted.png"
        convert "$work/hinted.png" -crop "$((WIDTH + 300))x$HEIGHT+$X+$Y" +repage \
            "$artifacts/e2e-notes-hint.png"
        hinted=1
    }
    eval "$(xdotool getwindowgeometry --shell "$panel" | sed 's/^/PANEL_/')"
    # Its buttons sit at the foot, right-aligned: close last, "ﾒﾓに反映" before it.
    xdotool mousemove --window "$panel" $((PANEL_WIDTH - 137)) $((PANEL_HEIGHT - 22)) click 1
    sleep 0.5
    xdotool search --onlyvisible --name '^ﾋﾝﾄ$' >/dev/null 2>&1 &&
        fail "the hint's step was not done on the notes"
done

blanks=0
for n in $(seq 81); do
    [ "${givens:n-1:1}" = 0 ] || continue
    blanks=$((blanks + 1))
    pick "${answer:n-1:1}"
    click_cell "$n"
    if [ "$blanks" -eq 20 ]; then
        import -window root "$work/half.png"
        convert "$work/half.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage \
            "$artifacts/e2e-notes-half.png"
    fi
done
box=$(wait_window '^Kazarinoset$')
echo "placed $blanks answers over the notes; congratulation box $box (notes before: $before)"
import -window root "$work/done.png"
convert "$work/done.png" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$artifacts/e2e-notes-done.png"
echo "PASS"
