# SPDX-License-Identifier: MIT
# Sourced first by the end-to-end scripts that drive the window: outside the virtual X server
# it checks the tools they use (status 77, a skip, when one is missing) and runs the calling
# script again inside a fresh server; inside, it does nothing.
enter_xserver() {  # script arguments...
    [ -n "${KZ_E2E_INSIDE:-}" ] && return 0
    for tool in xvfb-run xdotool import convert; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    export KZ_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
}
