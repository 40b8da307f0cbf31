#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch prefix and starts the installed program in a virtual X
# server: its main window must appear. Usage: start_installed.sh <build-dir> <prefix>
set -euo pipefail

build=$(realpath "$1")
prefix=$2

if [ -z "${KZ_E2E_INSIDE:-}" ]; then
    for tool in xvfb-run xdotool; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
    export KZ_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

prefix=$(realpath "$prefix")
work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# A private lock and a fresh working directory (default settings); the real X server.
export XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"

"$prefix/bin/kazarinoset" &
pid=$!
for _ in $(seq 100); do
    if xdotool search --onlyvisible --name '^Kazarinoset$' >/dev/null 2>&1; then
        echo "the installed program shows its window"
        exit 0
    fi
    kill -0 "$pid" 2>/dev/null || { echo "FAIL: the installed program exited"; exit 1; }
    sleep 0.1
done
echo "FAIL: no window from the installed program"
exit 1
