#!/usr/bin/env bash
# Builds every benchmark once in Release, runs each with REPETITIONS (at least 9) repetitions in
# random interleaving (an operation and its yardstick meet the same load), starts the program and a
# minimal Qt window RUNS times each, and prints one table: each long operation at 100,000 records,
# its median, its yardstick's median, their ratio, the target and whether it holds.
# The yardsticks do the operation's own input and output with plain calls: one sequential read of
# the archive for the reading operations, that read then one write of the output's bytes (synced
# where the operation syncs) for the exports. The full output of each benchmark goes to BENCH_LOGS
# (default: a temporary folder, removed at the end).
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_archive_visit bench_search bench_export bench_csv bench_delete bench_save_record \
    Brivanto brivanto_password_file_generated bench_startup_minimal
repetitions=${REPETITIONS:-9}
[ "$repetitions" -ge 9 ] || { echo "REPETITIONS must be at least 9" >&2; exit 1; }
if [ -n "${BENCH_LOGS:-}" ]; then
    results=$BENCH_LOGS
    mkdir -p "$results"
else
    results=$(mktemp -d)
    trap 'rm -rf "$results"' EXIT
fi

run() { # <benchmark> [filter]
    "$build/bench/$1" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_format=json --benchmark_filter="${2:-.}" \
        >"$results/$1.json" 2>"$results/$1.log"
}
run bench_archive_visit
QT_QPA_PLATFORM=offscreen run bench_search 'PlainSequentialRead|OneFilterSearch|NoFilterSearch|DoubleClickRescan'
run bench_export
run bench_csv 'ExportCsv|ReadArchiveThenWriteCsv|ImportCsvIntoEmptyArchive|ReadFileAndWriteArchiveBytes'
run bench_delete '/100000'
run bench_save_record
BRIVANTO_BENCH_BUILT=1 STARTUP_JSON="$results/startup.json" "$here/bench/run_startup.sh" >"$results/startup.log"
python3 "$here/bench/ratio_table.py" "$results"
