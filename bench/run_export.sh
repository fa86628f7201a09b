#!/usr/bin/env bash
# Builds the export benchmark in Release, runs every side in one process with repetitions, and
# prints the medians and their ratios on a 100,000-record archive:
#   filling the grid / one sequential read of the archive (target at most 1.2),
#   the spreadsheet export, the grid filled then the worksheet written / that read, then writing
#   the worksheet's bytes in one call and syncing them (target at most 1.2),
# and the memory the filled grid holds against the archive's size.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_export
out=$(mktemp)
"$build/bench/bench_export" --benchmark_repetitions=${REPETITIONS:-9} --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["run_name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
ms = lambda name: runs[name]["real_time"]
fill, read = ms("FillGrid"), ms("SequentialArchiveRead")
export, write = ms("ExportSpreadsheet"), ms("ReadArchiveThenWriteWorksheet")
grid, archive = runs["FillGrid"]["grid_bytes"], runs["FillGrid"]["archive_bytes"]
print(f"fill the grid, median:             {fill:.1f} ms")
print(f"sequential archive read, median:   {read:.1f} ms")
print(f"ratio: {fill / read:.2f}")
print(f"fill and export, median:           {export:.1f} ms")
print(f"read, then write + sync, median:   {write:.1f} ms")
print(f"ratio: {export / write:.2f}")
print(f"worksheet: {runs['ExportSpreadsheet']['worksheet_bytes'] / 1e6:.1f} MB")
print(f"grid memory: {grid / 1e6:.1f} MB for an archive of {archive / 1e6:.1f} MB ({grid / archive:.1%})")
PY
rm -f "$out"
