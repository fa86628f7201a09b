#!/usr/bin/env bash
# Takes the screenshots of docs/ from the real program on a virtual X display: the message box of a
# wrong password and the confirmation of a newly created archive.
#   scripts/screenshots.sh [build folder]   (default build/sanitize; the program is built first)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/sanitize}
. "$here/scripts/packages.sh"
install_missing_packages xvfb xdotool imagemagick
cmake --build "$build" --target Brivanto brivanto_password_file_generated

work=$(mktemp -d)
program=""
server=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

folder="$work/Brivanto"
mkdir -p "$folder"
cp "$build/program/Brivanto" "$build/program/unins000.dll" "$folder/"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb "$folder/Brivanto" >"$work/program.log" 2>&1 &
program=$!

wait_for_window() { # <exact name> -> window id
    local id=""
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$program" 2>/dev/null || { cat "$work/program.log" >&2; return 1; }
        sleep 0.2
    done
    echo "no visible window named '$1'" >&2
    return 1
}
# Clicks a point of a screen's centred panel of the given size.
click_in_panel() { # <window> <panel width> <panel height> <x> <y>
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $(((WIDTH - $2) / 2 + $4)) $(((HEIGHT - $3) / 2 + $5)) click 1
}
shoot() { # <window> <file>: the window, once it has been drawn
    sleep 0.7
    import -window "$1" "$here/docs/$2"
    echo "docs/$2"
}

password=$(wait_for_window ' Brivanto - Immissione password')
xdotool windowfocus --sync "$password"
xdotool type --delay 20 "sbagliata"
xdotool key Return
box=$(wait_for_window 'Brivanto')
shoot "$box" wrong_password.png
xdotool windowfocus --sync "$box" key Return

xdotool windowfocus --sync "$password"
xdotool type --delay 20 "benvenutissimo"
xdotool key Return
launcher=$(wait_for_window ' Brivanto')
sleep 0.5
click_in_panel "$launcher" 760 660 200 330 # the "Crea nuovo archivio" picture

create=$(wait_for_window ' Brivanto - Creazione archivio giochi da tavolo')
sleep 0.5
xdotool type --delay 20 "Giochi rari"
click_in_panel "$create" 760 560 250 426 # "Applica e chiudi"
box=$(wait_for_window 'Brivanto')
shoot "$box" create_archive_confirmation.png
