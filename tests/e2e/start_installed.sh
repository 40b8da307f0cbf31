#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the build into a scratch prefix and starts the installed program in a virtual X
# server: its main window must appear. Usage: start_installed.sh <build-dir> <prefix>
set -euo pipefail

build=$(realpath "$1")
prefix=$2

# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh"
if [ -z "${KZ_E2E_INSIDE:-}" ]; then
    rm -rf "$prefix"
    cmake --install "$build" --prefix "$prefix" >/dev/null
fi
enter_xvfb 800x600 Xvfb xdotool -- "$0" "$@"

prefix=$(realpath "$prefix")
# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

"$prefix/bin/kazarinoset" &
pids+=($!)
wait_window '^Kazarinoset$' >/dev/null
echo "the installed program shows its window"
