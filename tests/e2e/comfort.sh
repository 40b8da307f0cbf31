#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game's comforts as a player meets them under a window manager, on a board made half
# again as large from the ｹﾞｰﾑ menu: a new puzzle from that menu, right-click notes and the
# clock switched on there, a note by one right click, the clock paused (the board hidden) and
# resumed, the puzzle finished, and its record shown by 記録. Usage: comfort.sh <program> <checker> <artifact-dir>
set -euo pipefail

checker=$(realpath "$2")
# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
take_program_and_artifacts "$1" "$3"
enter_xvfb 1280x1024 Xvfb xdotool xwininfo import convert openbox -- "$0" "$@"

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
start_main "$program"
menu() {  # access keys of an item of the ｹﾞｰﾑ menu
    xdotool windowfocus --sync "$main" key alt+g
    sleep 0.3
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.3
    done
}

scale=150
menu v 3  # 表示倍率 → 150%
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$WIDTH" -eq $(((413 * scale + 50) / 100)) ] || fail "the window is $WIDTH pixels wide at $scale %"
settings=$XDG_CONFIG_HOME/kazarinoset/kazarinoset.env
grep -q ",$scale," "$settings" || fail "the scale is not kept: $(cat "$settings")"
client_corner "$main" $((488 * scale / 100))
[ $((Y + HEIGHT)) -le 1024 ] || fail "the grown window leaves the screen at $Y"
at() {  # a length of the window at 100 % -> at the scale
    echo $(($1 * scale / 100))
}
cell_at() {  # cell 1..81 -> "x y" of its centre
    local n=$(($1 - 1))
    echo $((cx + $(at $((8 + 44 * (n % 9) + 22))))) $((cy + $(at $((12 + 44 * (n / 9) + 22)))))
}
pick() {  # palette item 1..10
    xdotool mousemove $((cx + $(at $((8 + 12 + ($1 - 1) * 32 + 12))))) \
        $((cy + $(at $((420 + 20 + 16))))) click 1
    sleep 0.05
}
ink() {  # screenshot, cell -> how many dark pixels the cell shows
    local x y half
    read -r x y < <(cell_at "$2")
    half=$(at 18)
    convert "$1" -crop "$((2 * half))x$((2 * half))+$((x - half))+$((y - half))" +repage \
        -threshold 50% -format '%[fx:int(w*h*(1-mean))]' info:
}
shot() {  # name -> the window's client area in $work/name.png and the artifacts
    import -window root "$work/$1.png"
    convert "$work/$1.png" -crop "${WIDTH}x$((HEIGHT + $(at 20)))+$X+$Y" +repage \
        "$artifacts/e2e-comfort-$1.png"
}

menu n
dialog=$(wait_window '新しい問題の作成')
sleep 0.5
xdotool key Return
for _ in $(seq 300); do
    title=$(xdotool getwindowname "$main")
    [ "$title" != "Kazarinoset" ] && break
    sleep 0.1
done
case "$title" in "Kazarinoset [新しい問題 "*) ;; *) fail "caption is '$title'" ;; esac

xdotool windowfocus --sync "$main" key ctrl+s
sleep 1
xdotool type --delay 20 "$work/puzzle.csv"
xdotool key Return
sleep 1
xdotool key Return  # the saved notice
sleep 0.3
givens=$(tr -d ',\r\n' <"$work/puzzle.csv")
answer=$("$checker" --solve "$work/puzzle.csv")
[ ${#answer} -eq 81 ] || fail "no answer for $givens"

menu y  # notes by the right button
menu t  # the clock
first=""
for n in $(seq 81); do
    [ "${givens:n-1:1}" = 0 ] && { first=$n; break; }
done
shot before
blank=$(ink "$work/before.png" "$first")
xdotool windowfocus --sync "$main" key "${answer:first-1:1}"  # the tile by its key
# shellcheck disable=SC2046
xdotool mousemove $(cell_at "$first") click 3
sleep 0.3
shot note
[ "$(ink "$work/note.png" "$first")" -gt "$blank" ] || fail "no note by the right click"

xdotool windowfocus --sync "$main" key F5
sleep 0.5
shot paused
[ "$(ink "$work/paused.png" "$first")" -lt "$(ink "$work/note.png" "$first")" ] ||
    fail "the board shows while paused"
# shellcheck disable=SC2046
xdotool mousemove $(cell_at 41) click 1  # the cover: the game goes on
sleep 0.5
shot resumed
[ "$(ink "$work/resumed.png" "$first")" -eq "$(ink "$work/note.png" "$first")" ] ||
    fail "the board did not come back"

for n in $(seq 81); do
    [ "${givens:n-1:1}" = 0 ] || continue
    pick "${answer:n-1:1}"
    # shellcheck disable=SC2046
    xdotool mousemove $(cell_at "$n") click 1
    sleep 0.05
done
box=$(wait_window '^Kazarinoset$')
sleep 0.3
xdotool windowfocus --sync "$box" key Return
sleep 0.5
[ -s "$XDG_DATA_HOME/kazarinoset/records.txt" ] || fail "no record written"
menu s
records=$(wait_window '^記録$')
sleep 0.5
import -window "$records" "$artifacts/e2e-comfort-records.png"
echo "record: $(tail -1 "$XDG_DATA_HOME/kazarinoset/records.txt")"
echo "PASS"
