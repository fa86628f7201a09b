#!/usr/bin/env bash
# Builds the benchmark in Release, runs both sides in one process with repetitions, and prints
# the median of each and their ratio (ArchiveFile visit / plain read; target at most 1.1).
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_archive_visit
out=$(mktemp)
"$build/bench/bench_archive_visit" --benchmark_repetitions=${REPETITIONS:-9} --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["run_name"].split("/")[0]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
plain, visit = runs["PlainSequentialRead"], runs["ArchiveFileVisit"]
print(f"plain sequential read, median: {plain:.1f} ms")
print(f"ArchiveFile visit, median:     {visit:.1f} ms")
print(f"ratio: {visit / plain:.2f}")
PY
rm -f "$out"
