#!/bin/sh
# Runs every *_bench program of a native build folder and checks the ratios
# the benchmarks promise against their in-run baselines.
# Usage: scripts/run-benchmarks.sh NATIVE_BUILD_DIR
set -eu

if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "usage: $0 NATIVE_BUILD_DIR" >&2
    exit 2
fi
build_dir=$1
limit=3

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT

found=0
for bench in "$build_dir"/*_bench; do
    [ -x "$bench" ] || continue
    found=1
    name=$(basename "$bench")
    echo "== $name"
    # Repetitions give medians that a busy machine disturbs less.
    "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$out_dir/$name.json" --benchmark_out_format=json
done
if [ "$found" -eq 0 ]; then
    echo "no *_bench programs in $build_dir (is Google Benchmark installed?)" >&2
    exit 1
fi

json="$out_dir/blend_bench.json"
if [ ! -f "$json" ]; then
    echo "blend_bench did not run" >&2
    exit 1
fi
python3 - "$json" "$limit" <<'PY'
import json, sys

with open(sys.argv[1]) as f:
    runs = json.load(f)["benchmarks"]
limit = float(sys.argv[2])

def median(name):
    for run in runs:
        if run.get("run_name") == name and run.get("aggregate_name") == "median":
            # CPU time: on a shared machine the wall clock also counts other
            # processes' turns.
            return run["cpu_time"]
    sys.exit(f"no median for {name}")

blend = median("BM_BlendBackground")
copy = median("BM_MemcpyStrip")
ratio = blend / copy
print(f"blend / memcpy time on a 96 x 1080 strip: {ratio:.2f} (limit {limit:g})")
sys.exit(0 if ratio <= limit else 1)
PY
