#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is needed, builds everything (program, tools, tests, benchmarks) and runs
# every test. Usage: scripts/test.sh [build-dir]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}

"$top/scripts/deps.sh"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${KZ_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
