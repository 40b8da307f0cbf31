# SPDX-License-Identifier: MIT
# Sourced by the end-to-end scripts once they run inside the virtual X server: a scratch
# working directory, the programs they start killed on exit, and a wait for a window.
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# A private runtime directory: the instance lock must not meet a copy the user is running,
# and a fresh working directory means default settings.
export XDG_RUNTIME_DIR=$work/runtime
# No game kept aside and no records from the user's own play: start-up would offer the game
# on a line over the grid.
export XDG_STATE_HOME=$work/state
export XDG_DATA_HOME=$work/data
# Nor the user's settings: with none in the working directory they are read from here.
export XDG_CONFIG_HOME=$work/config
# The test runner may ask for the headless platform; this test needs the real X server.
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"

fail() {
    echo "FAIL: $*"
    exit 1
}

wait_window() {  # name pattern -> window id
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no window named $1"
    echo "$id"
}


start_main() {  # program -> main window id in $main, its geometry in $X $Y $WIDTH $HEIGHT
    "$1" &
    pids+=($!)
    main=$(wait_window '^Kazarinoset$')
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$main")"
}

# The window's own place on the screen: under a window manager xdotool's geometry may count
# the frame, xwininfo does not. Sets $X $Y (the window) and $cx $cy (the client area below
# the menu bar, where the grid's coordinates start). The client area is 488 pixels high
# unless a second argument says otherwise (a larger display scale).
client_corner() {  # window id [client height]
    X=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print $4}')
    Y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ {print $4}')
    cx=$X
    cy=$((Y + HEIGHT - ${2:-488}))
}
