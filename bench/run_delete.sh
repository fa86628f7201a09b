#!/usr/bin/env bash
# Builds the deletion benchmark in Release, runs both sides in one process with repetitions in
# random interleaving (both meet the same load), and prints the medians and their ratio:
#   deleting record 1 of 100,000 (photo pairs for 1,000) / copying the archive with one flush and
#   renaming the same photos with plain calls (target at most 1.3),
# and how each side grows from 10,000 to 100,000 records.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_delete
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bench/bench_delete" --benchmark_repetitions=${REPETITIONS:-9} --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
ms = {b["run_name"].split("/iterations")[0]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
      if b.get("aggregate_name") == "median"}
for n in (10000, 100000):
    d, c = ms[f"DeleteRecord/{n}"], ms[f"CopyArchiveAndRenamePhotos/{n}"]
    print(f"{n:>7} records: delete record 1, median {d:8.1f} ms; copy + flush + renames, median {c:8.1f} ms; "
          f"ratio {d / c:.2f}")
d10, d100 = ms["DeleteRecord/10000"], ms["DeleteRecord/100000"]
c10, c100 = ms["CopyArchiveAndRenamePhotos/10000"], ms["CopyArchiveAndRenamePhotos/100000"]
print(f"growth 10,000 -> 100,000 records: deletion x{d100 / d10:.1f}, yardstick x{c100 / c10:.1f}")
print(f"ratio: {d100 / ms['CopyArchiveAndRenamePhotos/100000']:.2f}")
PY
