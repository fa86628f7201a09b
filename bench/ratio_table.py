"""The table of run_all.sh: each operation against its yardstick, from the results in a folder."""
import json
import os
import sys

# operation, benchmark program, operation's benchmark, yardstick's benchmark, yardstick, target
LINES = [
    ("archive visit (every record)", "bench_archive_visit", "ArchiveFileVisit", "PlainSequentialRead",
     "read", 1.1),
    ("search, one filter", "bench_search", "OneFilterSearch", "PlainSequentialRead", "read", 1.2),
    ("search, list all", "bench_search", "NoFilterSearch", "PlainSequentialRead", "read", 1.5),
    ("re-scan after a double click", "bench_search", "DoubleClickRescan", "PlainSequentialRead", "read", 1.2),
    ("grid fill", "bench_export", "FillGrid", "SequentialArchiveRead", "read", 1.2),
    ("spreadsheet export (fill + write)", "bench_export", "ExportSpreadsheet", "ReadArchiveThenWriteWorksheet",
     "read + write + sync", 1.2),
    ("CSV export", "bench_csv", "ExportCsv", "ReadArchiveThenWriteCsv", "read + write + sync", 1.2),
    ("deletion of record 1", "bench_delete", "DeleteRecord/100000", "CopyArchiveAndRenamePhotos/100000",
     "copy + sync + renames", 1.3),
    ("CSV import", "bench_csv", "ImportCsvIntoEmptyArchive", "ReadFileAndWriteArchiveBytes",
     "read + write + sync", 1.5),
    ("save with two 12-megapixel photos", "bench_save_record", "SaveRecordWithTwoPhotos", "SaveAsBeforeOneOwner",
     "save before one owner", 1.05),
]


def medians(path):
    """The median real time and processor time (ms) of each benchmark in a Google Benchmark JSON file."""
    with open(path) as results:
        benchmarks = json.load(results)["benchmarks"]
    return {b["run_name"].split("/real_time")[0].split("/iterations")[0]: (b["real_time"], b["cpu_time"])
            for b in benchmarks if b.get("aggregate_name") == "median"}


def main(folder):
    rows = []
    loaded = {}
    for operation, program, measured, yardstick, what, target in LINES:
        if program not in loaded:
            loaded[program] = medians(os.path.join(folder, program + ".json"))
        (real, cpu), (plain_real, plain_cpu) = loaded[program][measured], loaded[program][yardstick]
        rows.append((operation, real, f"{what} {plain_real:.1f}", real / plain_real, target, cpu / plain_cpu))
    with open(os.path.join(folder, "startup.json")) as startup:
        started = json.load(startup)
    # Both windows are taken when they are on screen with their contents drawn.
    for operation, key, unit, target in (("password window drawn on screen", "window_ms", 1, 1.2),
                                         ("resident memory at the password window", "resident_kib", 1024, 1.15)):
        program, minimal = started[key]["Brivanto"] / unit, started[key]["minimal"] / unit
        processor = started["processor_ms"]["Brivanto"] / started["processor_ms"]["minimal"]
        rows.append((operation, program, f"minimal window drawn {minimal:.1f}", program / minimal, target,
                     processor if key == "window_ms" else None))

    # The processor-time ratio, for reading the wall-time one on a busy machine: it counts the
    # calling thread only (a background writer's time and the waits for the disk are left out).
    print("| operation at 100,000 records | median | yardstick, median | ratio | target | holds "
          "| processor time ratio |")
    print("|---|---:|---|---:|---:|---|---:|")
    for operation, median, yardstick, ratio, target, processor in rows:
        unit = "MB" if operation.startswith("resident") else "ms"
        print(f"| {operation} | {median:.1f} {unit} | {yardstick} {unit} | {ratio:.2f} | \u2264 {target} | "
              f"{'yes' if ratio <= target else 'NO'} | {'' if processor is None else f'{processor:.2f}'} |")


if __name__ == "__main__":
    main(sys.argv[1])
