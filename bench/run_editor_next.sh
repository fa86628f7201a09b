#!/usr/bin/env bash
# Builds the benchmark in Release, runs both sides in one process with repetitions, and prints
# the median of each, their ratio (Next in the editor / decoding the two photos alone; target at
# most 1.2) and the memory the editor holds with the two 12-megapixel photos on screen.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_editor_next
out=$(mktemp)
trap 'rm -f "$out"' EXIT
QT_QPA_PLATFORM=offscreen "$build/bench/bench_editor_next" --benchmark_repetitions=${REPETITIONS:-9} \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
medians = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
           if b.get("aggregate_name") == "median"}
decode, press = medians["DecodeTwoPhotos"], medians["EditorNext"]
print(f"decoding the two photos alone, median: {decode['real_time']:.1f} ms")
print(f"Next in the editor, median:            {press['real_time']:.1f} ms")
print(f"ratio: {press['real_time'] / decode['real_time']:.2f}")
print(f"memory held with the two photos on screen: {press['resident_growth_MiB']:.1f} MiB resident "
      f"(decoded pictures alone: {press['pictures_MiB']:.1f} MiB)")
PY
