# The real program in a fresh program folder on a virtual X display, for the scripts that drive it
# as a user would. Sourced: `start_real_program <Brivanto executable> <password file> <WxHxD>`
# sets $work, $folder, $program and DISPLAY and removes everything again when the script exits;
# `start_accessibility_bus` before it puts the program on an accessibility bus.
# Files put into $folder before the start are there when the program starts. The program runs with
# $program_path as its PATH when that is set.
# Without a virtual display or a way to type and click, there is nothing to drive: skipped (77).
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
. "$(dirname "${BASH_SOURCE[0]}")/virtual_display.sh"
work=$(mktemp -d)
folder="$work/Brivanto"
program=""
server=""
session_bus=""
accessibility_bus=""
# The display server is waited for: a server still shutting down holds its display number, and
# the next run's server could be handed that number.
stop_real_program() {
    [ -n "$program" ] && { kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; } || true
    [ -n "$accessibility_bus" ] && { kill "$accessibility_bus" 2>/dev/null; wait "$accessibility_bus" 2>/dev/null; } || true
    [ -n "$session_bus" ] && kill "$session_bus" 2>/dev/null || true
    [ -n "$server" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; } || true
    rm -rf "$work"
}
trap stop_real_program EXIT

# Ends the script as failed, with the program's own output.
fail() {
    echo "$*" >&2
    [ -f "$work/program.log" ] && cat "$work/program.log" >&2
    exit 1
}

# The desktop's accessibility bus, where screen readers find programs: a D-Bus session of its own
# and at-spi2-core's bus launcher on it. Call it before start_real_program; the program is then
# started with its accessibility switched on. Returns non-zero, saying why, when the bus does
# not come up.
# The scripts read the bus with the system's interpreter: pyatspi is a Debian package and an
# interpreter installed elsewhere does not see it.
python=/usr/bin/python3
start_accessibility_bus() {
    local launcher=/usr/libexec/at-spi-bus-launcher
    "$python" -c 'import pyatspi' 2>/dev/null || { echo "$python cannot import pyatspi (python3-pyatspi)" >&2; return 1; }
    command -v dbus-launch >/dev/null || { echo "dbus-launch is not installed (dbus-x11)" >&2; return 1; }
    [ -x "$launcher" ] || { echo "$launcher is not installed (at-spi2-core)" >&2; return 1; }
    # The bus launcher puts its socket in the runtime folder, or in ~/.cache without one: two runs
    # at once would then share, and remove, each other's socket.
    export XDG_RUNTIME_DIR="$work/runtime" XDG_CACHE_HOME="$work/cache"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
    local variables
    variables=$(dbus-launch --sh-syntax 2>"$work/dbus.log") || {
        echo "no D-Bus session could be started: $(cat "$work/dbus.log")" >&2
        return 1
    }
    eval "$variables"
    session_bus=$DBUS_SESSION_BUS_PID
    "$launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
    accessibility_bus=$!
    for _ in $(seq 100); do
        if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1; then
            export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
            return 0
        fi
        kill -0 "$accessibility_bus" 2>/dev/null || break
        sleep 0.1
    done
    echo "the accessibility bus did not come up: $(cat "$work/at-spi.log")" >&2
    return 1
}

start_real_program() { # <executable> <password file> <screen geometry>
    mkdir -p "$folder"
    cp "$1" "$folder/Brivanto"
    cp "$2" "$folder/unins000.dll"
    start_virtual_display "$3" "$work" || return 1
    # On a busy machine the display now and then refuses the program's first connection although
    # it answers other clients; the program is then started again, at most three times.
    for _ in 1 2 3; do
        # Leaks are checked by the in-process tests; here the window system's libraries would only add noise.
        ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PATH="${program_path:-$PATH}" \
            "$folder/Brivanto" >"$work/program.log" 2>&1 &
        program=$!
        for _ in $(seq 100); do
            kill -0 "$program" 2>/dev/null || break
            xdotool search --name Brivanto >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill -0 "$program" 2>/dev/null && return 0
        wait "$program" 2>/dev/null || true
        grep -q "could not connect to display" "$work/program.log" || return 0
    done
}

wait_for_window() { # <name regex> -> window id
    local id=""
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$program" 2>/dev/null || {
            echo "program ended early" >&2
            cat "$work/program.log" "$work/xvfb.log" >&2
            return 1
        }
        sleep 0.2
    done
    echo "no visible window named $1" >&2
    return 1
}

wait_until_gone() { # <name regex>
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "the window named $1 did not close" >&2
    return 1
}

# Clicks at a point of a screen's panel, which the screen keeps centred in its window.
click_in_panel() { # <window> <panel width> <panel height> <x> <y>
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $(((WIDTH - $2) / 2 + $4)) $(((HEIGHT - $3) / 2 + $5)) click 1
}

# The password screen's initial password, typed as a user would. Prints the launcher's window id.
log_in() {
    local password
    password=$(wait_for_window '^ Brivanto - Immissione password$') || return 1
    xdotool windowfocus --sync "$password"
    xdotool type --delay 20 "benvenutissimo"
    xdotool key Return
    wait_for_window '^ Brivanto$'
}

# From the launcher to the record editor, as a user: the launcher's open-archive button (300 x 56
# at (410, 464) of its 760 x 660 panel), then the first archive of the list (the list at
# (120, 210) of the 760 x 680 panel, the open button, 220 x 52, at (140, 570)). Prints the
# editor's window id.
open_first_archive_from() { # <launcher window>
    local opening
    click_in_panel "$1" 760 660 560 492
    opening=$(wait_for_window '^ Brivanto - Apertura archivio giochi da tavolo$') || return 1
    sleep 0.3
    click_in_panel "$opening" 760 680 240 222
    click_in_panel "$opening" 760 680 250 596
    wait_for_window '^ Brivanto - Zendaro$'
}

# From the password screen to the record editor. Prints the editor's window id.
open_first_archive() {
    local launcher
    launcher=$(log_in) || return 1
    open_first_archive_from "$launcher"
}

# The print jobs in the test run's PDF queue whose file names match <pattern>, a name a line.
printed_jobs() { # <pattern>
    ls "$BRIVANTO_PRINT_OUTPUT" 2>/dev/null | grep "$1" || true
}

# The jobs matching <pattern> that are not among <jobs before>, written to their end, whose text
# holds <text>, a path a line. Every test of the run that prints uses the same queue and the same
# job names, so a job is known as this script's by its text.
new_printed_pdfs() { # <pattern> <jobs before> <text>
    local name pdf
    printed_jobs "$1" | while IFS= read -r name; do
        grep -qxF -- "$name" <<<"$2" && continue
        pdf="$BRIVANTO_PRINT_OUTPUT/$name"
        tail -c 32 "$pdf" | grep -q '%%EOF' || continue
        pdftotext "$pdf" - 2>/dev/null | tr -s ' \n' ' ' | grep -qF -- "$3" && echo "$pdf"
    done
}

# Waits, at most a minute, for a new job as new_printed_pdfs finds it, and prints its path.
await_printed_pdf() { # <pattern> <jobs before> <text>
    local pdf
    for _ in $(seq 300); do
        pdf=$(new_printed_pdfs "$@" | head -n1)
        [ -n "$pdf" ] && { echo "$pdf"; return 0; }
        sleep 0.2
    done
    return 1
}

# Waits, at most 10 s, for the program to end, and fails unless it ends cleanly.
await_program_end() { # <what should have ended it>
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program" 2>/dev/null && fail "$1 did not end the program"
    wait "$program" || fail "the program ended with an error"
    program=""
}
