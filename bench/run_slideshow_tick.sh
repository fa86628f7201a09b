#!/usr/bin/env bash
# Builds the benchmark in Release, runs both sides in one process with repetitions, interleaved so
# that both meet the same machine load, on a 1920x1080 offscreen screen, and prints the median of
# each (wall clock and CPU), their ratio (slideshow tick / plain full-size decode; target at most
# 1.2) and the process's peak memory.
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark bench_slideshow_tick
screens=$(mktemp --suffix=.json)
out=$(mktemp)
trap 'rm -f "$screens" "$out"' EXIT
echo '{"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920, "height": 1080}]}' >"$screens"
QT_QPA_PLATFORM="offscreen:configfile=$screens" python3 - "$build/bench/bench_slideshow_tick" "$out" \
    "${REPETITIONS:-9}" <<'PY'
import json, resource, subprocess, sys
binary, out, repetitions = sys.argv[1:]
with open(out, "w") as sink:
    subprocess.run([binary, f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true",
                    "--benchmark_enable_random_interleaving=true", "--benchmark_format=json"], stdout=sink, check=True)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
benchmarks = json.load(open(out))["benchmarks"]
runs = {b["run_name"].split("/")[0]: b for b in benchmarks if b.get("aggregate_name") == "median"}
print(f"screen width: {runs['SlideshowTick'].get('screen_width', 0):.0f} px")
for clock in ("real_time", "cpu_time"):
    decode, tick = runs["DecodeFullSize"][clock], runs["SlideshowTick"][clock]
    print(f"{clock}: full-size decode of the 12-megapixel JPEG, median {decode:.1f} ms; "
          f"slideshow tick showing it, median {tick:.1f} ms; ratio {tick / decode:.2f}")
print(f"peak memory of the run: {peak:.0f} MB")
PY
