#!/usr/bin/env bash
# Runs every benchmark program of a build and prints what it measured.
set -euo pipefail
build=${1:-build}
shopt -s nullglob
found=0
for b in "$build"/bin/bench_*; do
    [ -x "$b" ] || continue
    found=1
    echo "== $(basename "$b")"
    "$b"
done
[ "$found" = 1 ] || echo "no benchmarks built yet"
