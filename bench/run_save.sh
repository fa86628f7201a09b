#!/usr/bin/env bash
# Builds the save benchmark in Release and runs both sides in one process with repetitions in
# random interleaving; prints the medians and their ratio: saving a record with two 12-megapixel
# photos under the archive's one lock / the same save as made before, the photos written after
# the lock (target at most 1.05).
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_save_record
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bench/bench_save_record" --benchmark_repetitions=${REPETITIONS:-15} --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
ms = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
      if b.get("aggregate_name") == "median"}
new, old = ms["SaveRecordWithTwoPhotos"], ms["SaveAsBeforeOneOwner"]
print(f"save with two photos ({new['photo_bytes'] / 1e6:.1f} MB), median {new['real_time']:.1f} ms; "
      f"as before one owner, median {old['real_time']:.1f} ms; ratio {new['real_time'] / old['real_time']:.3f} (target at most 1.05)")
PY
