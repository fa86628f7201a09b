#!/usr/bin/env bash
# Builds the search benchmark in Release and runs every side in one process with repetitions on a
# generated 100,000-record archive; prints the medians, the four ratios with their targets, and
# the memory that a 100,000-line list holds.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_search
out=$(mktemp)
QT_QPA_PLATFORM=offscreen "$build/bench/bench_search" --benchmark_repetitions=${REPETITIONS:-9} \
    --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out" 2>/dev/null
python3 - "$out" <<'PY'
import json, sys
runs, counters = {}, {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        name = b["run_name"].split("/")[0]
        runs[name] = b["real_time"]
        counters[name] = b
read = runs["PlainSequentialRead"]
print(f"plain sequential read of the archive, median: {read:.1f} ms")
for name, base, target in [("OneFilterSearch", "PlainSequentialRead", 1.2), ("NoFilterSearch", "PlainSequentialRead", 1.5),
                           ("DoubleClickRescan", "PlainSequentialRead", 1.2), ("TrovaLastLine", "PlainFoldedScan", 2)]:
    print(f"{name}: {runs[name]:.1f} ms against {base} {runs[base]:.1f} ms: ratio {runs[name] / runs[base]:.2f} (target at most {target})")
memory = counters["ListMemory"]
print(f"a list of {memory['lines']:.0f} lines holds {memory['list_bytes'] / 1e6:.1f} MB ({memory['list_bytes'] / memory['lines']:.0f} bytes a line)")
PY
rm -f "$out"
