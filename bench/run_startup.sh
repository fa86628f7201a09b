#!/usr/bin/env bash
# Builds the program and a minimal Qt Widgets program in Release and starts them alternately under
# one virtual X display, RUNS times each (at least 8): the time from starting the process to its
# first window being on screen with its contents drawn (the password window for the program), and
# the resident memory at that moment. Prints both medians and the ratios (program / minimal;
# targets at most 1.2 and 1.15).
# A window counts as drawn when most of it shows one colour that is neither black nor white (the
# window's background; an undrawn window shows the black and white of the screen behind it). The
# moment the window is only mapped is printed too, for comparison: a window may be mapped before
# its text is laid out (the minimal one loads its fonts after mapping, the password window before).
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
import collections, ctypes, ctypes.util, json, os, statistics, subprocess, sys, time

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
    """The window's id once it is mapped, else None."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    return int(found.stdout.split()[0]) if found.returncode == 0 else None

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]
xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
display = xlib.XOpenDisplay(None)

def drawn(window):
    """Whether most of the window shows one colour other than black and white."""
    root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
    width, height, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
    if not xlib.XGetGeometry(display, window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                             ctypes.byref(width), ctypes.byref(height), ctypes.byref(border),
                             ctypes.byref(depth)):
        return False
    image = xlib.XGetImage(display, window, 0, 0, width.value, height.value, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return False
    pixels = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * height.value)
    xlib.XFree(image.contents.data)
    xlib.XFree(image)
    # The same number of pixels looked at in either window, spread over all of it: a check that
    # took longer on the larger window would find that one drawn later than it is.
    values = memoryview(pixels).cast("I")
    seen = collections.Counter(p & 0xFFFFFF for p in values[::max(1, len(values) // 2000)])
    colour, count = seen.most_common(1)[0]
    return colour not in (0, 0xFFFFFF) and count * 2 > sum(seen.values())

def one_run(side):
    command, name, folder = sides[side]
    for _attempt in range(5):
        log = open(os.path.join(work, side + ".log"), "w+")
        start = time.monotonic()
        process = subprocess.Popen(command, cwd=folder, env=env, stdout=log, stderr=subprocess.STDOUT)
        mapped = None
        while process.poll() is None and time.monotonic() - start < 30:
            window = visible(name) if mapped is None else mapped[0]
            if window and mapped is None:
                mapped = (window, (time.monotonic() - start) * 1000, resident_kib(process.pid))
            if window and drawn(window):
                elapsed = (time.monotonic() - start) * 1000
                rss, cpu = resident_kib(process.pid), cpu_ms(process.pid)
                process.kill()
                process.wait()
                return elapsed, rss, cpu, mapped[1], mapped[2]
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
mapped_times = {side: [] for side in sides}
mapped_memory = {side: [] for side in sides}
for _ in range(runs):
    for side in sides:
        elapsed, rss, used, mapped_after, mapped_rss = one_run(side)
        times[side].append(elapsed)
        memory[side].append(rss)
        cpu[side].append(used)
        mapped_times[side].append(mapped_after)
        mapped_memory[side].append(mapped_rss)

for side in sides:
    print(f"{side:>9}: window drawn after {statistics.median(times[side]):6.1f} ms (median of {runs}: "
          + " ".join(f"{t:.0f}" for t in times[side]) + f"), resident {statistics.median(memory[side]) / 1024:.1f} MB, "
          f"processor time {statistics.median(cpu[side]):.1f} ms; mapped after "
          f"{statistics.median(mapped_times[side]):.1f} ms, resident {statistics.median(mapped_memory[side]) / 1024:.1f} MB")
def ratio(values):
    return statistics.median(values["Brivanto"]) / statistics.median(values["minimal"])
print(f"ratio, time to window drawn:  {ratio(times):.2f} (mapped: {ratio(mapped_times):.2f})")
print(f"ratio, resident memory:       {ratio(memory):.2f} (mapped: {ratio(mapped_memory):.2f})")
print(f"ratio, processor time:        {ratio(cpu):.2f}")
if json_path:
    with open(json_path, "w") as out:
        json.dump({"runs": runs, **{key: {side: statistics.median(values[side]) for side in sides}
                                    for key, values in (("window_ms", times), ("resident_kib", memory),
                                                        ("processor_ms", cpu), ("mapped_ms", mapped_times),
                                                        ("mapped_resident_kib", mapped_memory))}}, out)
PY
