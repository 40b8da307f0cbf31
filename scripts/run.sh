#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is needed, builds the program and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build

"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kazarinoset
exec "$build/kazarinoset"
