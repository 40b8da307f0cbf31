#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up figures of the built program in a private Xvfb: time from launch until its window
# is shown, and peak resident memory, over several runs (median time, largest memory).
# Usage: scripts/bench-startup.sh [build-dir] [runs]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
runs=${2:-5}
program=$build/kazarinoset
if [ ! -x "$program" ]; then
  echo "no program at $program: build the kazarinoset target first" >&2
  exit 1
fi

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd picks a free display number and writes it once the server accepts clients;
# -noreset keeps the server from resetting, and refusing connections, between runs.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
# The settings file and the lock go to the scratch directory, never the user's.
cd "$work"
export TMPDIR=$work
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

times=()
rss=()
for i in $(seq "$runs"); do
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "the X server has gone" >&2
    exit 1
  fi
  start=$(date +%s%N)
  "$program" &
  program_pid=$!
  # Polled here rather than with xdotool's --sync, which only looks every half second.
  shown=""
  for _ in $(seq 6000); do
    if xdotool search --onlyvisible --name '^Kazarinoset' >/dev/null 2>&1; then
      shown=$(date +%s%N)
      break
    fi
    sleep 0.01
  done
  if [ -z "$shown" ]; then
    echo "run $i: no window within a minute" >&2
    exit 1
  fi
  # Let the first paint and any deferred set-up finish, then read the high-water mark.
  sleep 1
  rss+=("$(awk '/^VmHWM:/ {print $2}' "/proc/$program_pid/status")")
  kill "$program_pid"
  wait "$program_pid" || true
  times+=($(((shown - start) / 1000000)))
done

median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
peak=$(printf '%s\n' "${rss[@]}" | sort -n | tail -n1)
echo "runs: $runs"
echo "time to window shown (ms): median $median, all: ${times[*]}"
echo "peak resident memory (KiB): $peak"
