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
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

"$prefix/bin/kazarinoset" &
pids+=($!)
wait_window '^Kazarinoset$' >/dev/null
echo "the installed program shows its window"
