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
    export KZ_E2E_INSIDE=1
    # -a alone starts every search at :99, so test runs started together (other checkouts,
    # parallel ctest) race for the same display; a random first number keeps them apart.
    exec xvfb-run -n $((100 + RANDOM % 800)) -a -s "-screen 0 ${screen}x24" "$@"
}

# The arguments of the scripts that drive the program: the program and the directory for
# their screenshots, both as absolute paths (the scripts work in a scratch directory).
# Usage: take_program_and_artifacts "$@"
take_program_and_artifacts() {
    program=$(realpath "$1")
    mkdir -p "$2"
    artifacts=$(realpath "$2")
}
