#!/usr/bin/env bash
# Builds the program and a minimal Qt Widgets program in Release and starts them alternately under
# one virtual X display, RUNS times each (at least 8): the time from starting the process to its
# first window being mapped (the password window for the program), and the resident memory at that
# moment. Prints both medians and the ratios (program / minimal; targets at most 1.5 and 1.3).
# A run whose process could not connect to the display is started again. The processor time each
# process used until then is printed too: on a busy machine it varies less than the wall time.
# With STARTUP_JSON=<file>, the medians are also written to that file (for run_all.sh).
set -euo pipefail
. "$(dirname "$0")/build_benchmark.sh"
build_benchmark Brivanto brivanto_password_file_generated bench_startup_minimal
install_missing_packages xvfb xdotool
runs=${RUNS:-10}
[ "$runs" -ge 8 ] || { echo "RUNS must be at least 8" >&2; exit 1; }

work=$(mktemp -d)
server=""
stop() {
    [ -n "$server" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
    rm -rf "$work"
}
trap stop EXIT
# A program folder as the user has it: the program, its camera module and its password file.
mkdir -p "$work/Brivanto"
cp "$build/program/Brivanto" "$build/program/brivanto-camera.so" "$build/program/unins000.dll" "$work/Brivanto/"
cp "$build/bench/bench_startup_minimal" "$work/"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }

python3 - "$work" "$runs" "${STARTUP_JSON:-}" <<'PY'
import json, os, statistics, subprocess, sys, time

work, runs, json_path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
sides = {
    "minimal": ([os.path.join(work, "bench_startup_minimal")], "^startup-minimal$", work),
    "Brivanto": ([os.path.join(work, "Brivanto", "Brivanto")], "^ Brivanto - Immissione password$",
                 os.path.join(work, "Brivanto")),
}
env = dict(os.environ, QT_QPA_PLATFORM="xcb")

def cpu_ms(pid):
    # Time on a processor of all the process's threads: less swayed by other programs' load.
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as stat:
                total += int(stat.read().split()[0])
        except FileNotFoundError:
            pass
    return total / 1e6

def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0

def visible(name):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

def one_run(side):
    command, name, folder = sides[side]
    for _attempt in range(5):
        log = open(os.path.join(work, side + ".log"), "w+")
        start = time.monotonic()
        process = subprocess.Popen(command, cwd=folder, env=env, stdout=log, stderr=subprocess.STDOUT)
        while process.poll() is None and time.monotonic() - start < 30:
            if visible(name):
                elapsed = (time.monotonic() - start) * 1000
                rss, cpu = resident_kib(process.pid), cpu_ms(process.pid)
                process.kill()
                process.wait()
                return elapsed, rss, cpu
        if process.poll() is None:
            process.kill()
            process.wait()
            sys.exit(f"{side}: no window within 30 s")
        log.seek(0)
        text = log.read()
        if "could not connect to display" not in text:
            sys.exit(f"{side} ended before its window appeared:\n{text}")
    sys.exit(f"{side} could not connect to the display five times in a row")

for side in sides:  # one unmeasured start each fills the disk cache
    one_run(side)
times = {side: [] for side in sides}
memory = {side: [] for side in sides}
cpu = {side: [] for side in sides}
for _ in range(runs):
    for side in sides:
        elapsed, rss, used = one_run(side)
        times[side].append(elapsed)
        memory[side].append(rss)
        cpu[side].append(used)

for side in sides:
    print(f"{side:>9}: window after {statistics.median(times[side]):6.1f} ms (median of {runs}: "
          + " ".join(f"{t:.0f}" for t in times[side]) + f"), resident {statistics.median(memory[side]) / 1024:.1f} MB, "
          f"processor time {statistics.median(cpu[side]):.1f} ms")
def ratio(values):
    return statistics.median(values["Brivanto"]) / statistics.median(values["minimal"])
print(f"ratio, time to window:   {ratio(times):.2f}")
print(f"ratio, resident memory:  {ratio(memory):.2f}")
print(f"ratio, processor time:   {ratio(cpu):.2f}")
if json_path:
    with open(json_path, "w") as out:
        json.dump({"runs": runs, **{key: {side: statistics.median(values[side]) for side in sides}
                                    for key, values in (("window_ms", times), ("resident_kib", memory),
                                                        ("processor_ms", cpu))}}, out)
PY
