#!/usr/bin/env bash
# Builds the export benchmark in Release, runs every side in one process with repetitions, and
# prints the medians and their ratios on a 100,000-record archive:
#   filling the grid / one sequential read of the archive (target at most 2),
#   writing the worksheet / writing the same bytes in one call (target at most 2),
# and the memory the filled grid holds against the archive's size.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_export
out=$(mktemp)
"$build/bench/bench_export" --benchmark_repetitions=${REPETITIONS:-9} \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
ms = lambda name: runs[name]["real_time"]
fill, read = ms("FillGrid"), ms("SequentialArchiveRead")
export, write = ms("ExportWholeGrid"), ms("WriteSameBytesInOneCall")
grid, archive = runs["FillGrid"]["grid_bytes"], runs["FillGrid"]["archive_bytes"]
print(f"fill the grid, median:             {fill:.1f} ms")
print(f"sequential archive read, median:   {read:.1f} ms")
print(f"ratio: {fill / read:.2f}")
print(f"export the whole grid, median:     {export:.1f} ms")
print(f"same bytes in one write, median:   {write:.1f} ms")
print(f"ratio: {export / write:.2f}")
print(f"worksheet: {runs['ExportWholeGrid']['worksheet_bytes'] / 1e6:.1f} MB")
print(f"grid memory: {grid / 1e6:.1f} MB for an archive of {archive / 1e6:.1f} MB ({grid / archive:.1%})")
PY
rm -f "$out"
