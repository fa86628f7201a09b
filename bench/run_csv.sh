#!/usr/bin/env bash
# Builds the CSV benchmark in Release, runs every side in one process with repetitions, and
# prints the medians and their ratios on a 100,000-record archive:
#   exporting it as CSV / reading the archive once, then writing the same bytes in one call and
#   syncing them (target at most 1.2),
#   importing that file into an empty archive / reading the file and writing the archive's bytes
#   with plain calls (target at most 1.5),
# the time the summary window waits for (planning 100,000 rows; target under 2 s), and the peak
# memory of planning a 1 GB file (LARGE_BYTES) against planning the 100,000-row file.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_csv
out=$(mktemp)
large_dir=$(mktemp -d)
trap 'rm -rf "$out" "$large_dir"' EXIT
# Interleaved repetitions: a burst of load on this shared machine falls on both sides alike.
"$build/bench/bench_csv" --benchmark_repetitions=${REPETITIONS:-9} --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["run_name"].replace("/real_time", ""): b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
ms = lambda name: runs[name]["real_time"]
export, plain_export = ms("ExportCsv"), ms("ReadArchiveThenWriteCsv")
imp, plain = ms("ImportCsvIntoEmptyArchive"), ms("ReadFileAndWriteArchiveBytes")
print(f"CSV file: {runs['ExportCsv']['csv_bytes'] / 1e6:.1f} MB for 100,000 records")
print(f"export as CSV, median:               {export:.1f} ms")
print(f"read, then write + sync, median:     {plain_export:.1f} ms")
print(f"ratio: {export / plain_export:.2f} (target 1.2)")
print(f"listing 200,000 photos, median:      {ms('ListPhotosOfEveryGame'):.1f} ms (added to an export when every game has its photos)")
print(f"import into an empty archive, median: {imp:.1f} ms")
print(f"plain read and archive write, median: {plain:.1f} ms")
print(f"ratio: {imp / plain:.2f} (target 1.5)")
print(f"planning 100,000 rows, median:       {ms('PlanImport'):.1f} ms (target 2000)")
PY
large="$large_dir/large.csv"
"$build/bench/bench_csv" --make-large "$large" "${LARGE_BYTES:-1073741824}"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {print $2}'; }
small="$large_dir/small.csv"
"$build/bench/bench_csv" --make-large "$small" 1
echo "peak memory planning $(du -m "$small" | cut -f1) MB: $(peak "$build/bench/bench_csv" --plan "$small") KB"
echo "peak memory planning $(du -m "$large" | cut -f1) MB: $(peak "$build/bench/bench_csv" --plan "$large") KB"
