#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/deps.sh on a machine where another package manager holds the lock: stand-in
# package tools report every package missing, and apt-get refuses, as the real one does,
# unless it was told to wait for the lock.
set -euo pipefail
deps=$1
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT

cat >"$fake/dpkg-query" <<'TOOL'
#!/bin/sh
exit 1
TOOL
cat >"$fake/sudo" <<'TOOL'
#!/bin/sh
exec "$@"
TOOL
cat >"$fake/apt-get" <<TOOL
#!/bin/sh
echo "\$*" >>"$fake/calls"
case "\$*" in
  *DPkg::Lock::Timeout=*) exit 0 ;;
esac
echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 1 (apt-get)" >&2
exit 100
TOOL
chmod +x "$fake"/*

PATH="$fake:$PATH" bash "$deps" >"$fake/out" 2>&1 || {
    cat "$fake/out"
    echo "FAIL: deps.sh gave up on a held lock"
    exit 1
}
grep -q ' update' "$fake/calls" || { echo "FAIL: no package list update"; exit 1; }
grep -q ' install ' "$fake/calls" || { echo "FAIL: nothing installed"; exit 1; }
echo "ok"
