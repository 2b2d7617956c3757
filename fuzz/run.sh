#!/usr/bin/env bash
# Runs every fuzz target of a build for a set time, each from its seed
# corpus in fuzz/corpus/<target>. What a run finds stays in the build
# directory (the corpus it grew, and crash-* files); the seeds in the
# repository are only read. Exits non-zero when a target failed.
#
#   fuzz/run.sh [BUILD_DIR] [SECONDS]      (default: build-fuzz 30)
set -uo pipefail
# Absolute paths: a target may change its working directory.
build=$(cd "${1:-build-fuzz}" && pwd) || exit 1
seconds=${2:-30}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
failed=()
for target in "$build"/bin/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    work="$build/runs/$name"
    mkdir -p "$work/corpus" "$work/crashes"
    echo "== $name: ${seconds} s"
    if ! "$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/crashes/" "$work/corpus" "$seeds/$name" \
        >"$work/log" 2>&1; then
        failed+=("$name")
        tail -n 40 "$work/log"
    fi
    grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$work/log" | sed 's/^/   /'
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed: ${failed[*]} (inputs in $build/runs/<target>/crashes)"
    exit 1
fi
echo "all fuzz targets ran clean"
