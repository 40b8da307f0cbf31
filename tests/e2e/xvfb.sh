# SPDX-License-Identifier: MIT
# Sourced by the end-to-end scripts before anything else: outside the virtual X server, skip
# (exit 77) when a tool is missing, else run the calling script again inside one.
# Usage: enter_xvfb <width>x<height> <tool>... -- "$0" "$@"
enter_xvfb() {
    [ -n "${KZ_E2E_INSIDE:-}" ] && return 0
    local screen=$1
    shift
    while [ "$1" != "--" ]; do
        if ! command -v "$1" >/dev/null; then
            echo "SKIP: $1 is not installed"
            exit 77
        fi
        shift
    done
    shift
    run_in_xvfb "$screen" "$@"
}

# Runs a command in a virtual X server of its own and exits with the command's status. The
# server is started here, not by xvfb-run, so that the command starts only once the server
# answers; a server that does not come up (a display number another run took between the
# look and the start, a slow machine) is tried again on another number. A random first number
# keeps runs started together (other checkouts, parallel ctest) apart.
# Usage: run_in_xvfb <width>x<height> <command>...
run_in_xvfb() {
    local screen=$1
    shift
    for tool in Xvfb xdpyinfo; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    export KZ_E2E_INSIDE=1
    local attempt display pid status
    for attempt in 1 2 3 4 5; do
        display=$((100 + RANDOM % 800))
        [ -e "/tmp/.X${display}-lock" ] && continue
        Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
        pid=$!
        for _ in $(seq 1 100); do
            if xdpyinfo -display ":$display" >/dev/null 2>&1; then
                status=0
                DISPLAY=":$display" "$@" || status=$?
                kill "$pid" 2>/dev/null || true
                wait "$pid" 2>/dev/null || true
                exit "$status"
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        echo "the virtual X server on :$display did not come up (attempt $attempt)" >&2
    done
    echo "FAIL: no virtual X server came up"
    exit 1
}

# The arguments of the scripts that drive the program: the program and the directory for
# their screenshots, both as absolute paths (the scripts work in a scratch directory).
# Usage: take_program_and_artifacts "$@"
take_program_and_artifacts() {
    program=$(realpath "$1")
    mkdir -p "$2"
    artifacts=$(realpath "$2")
}
