# Sourced: `start_virtual_display <WxHxD> <work folder>` starts Xvfb on a free display, sets
# $server and exports DISPLAY once the display answers; the caller stops $server.
# Two servers started at the same moment (tests run in parallel) can reach for the same free
# display number; one of them then gives up, sometimes after it has named the number. Such a
# server is started again, at most three times, and a display only counts while its own server
# still runs, so that no test talks to another test's display.
start_virtual_display() {
    local geometry=$1 folder=$2
    for _attempt in 1 2 3; do
        : >"$folder/display"
        Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$folder/display" >"$folder/xvfb.log" 2>&1 &
        server=$!
        for _ in $(seq 100); do
            [ -s "$folder/display" ] && break
            kill -0 "$server" 2>/dev/null || break
            sleep 0.1
        done
        if [ -s "$folder/display" ]; then
            export DISPLAY=":$(head -n1 "$folder/display")"
            for _ in $(seq 50); do
                kill -0 "$server" 2>/dev/null || break
                xdotool getdisplaygeometry >/dev/null 2>&1 && kill -0 "$server" 2>/dev/null && return 0
                sleep 0.1
            done
        fi
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
        server=""
    done
    cat "$folder/xvfb.log" >&2
    echo "the virtual display did not start" >&2
    return 1
}
