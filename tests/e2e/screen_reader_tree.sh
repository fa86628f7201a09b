#!/usr/bin/env bash
# Starts the desktop's accessibility bus (at-spi2-core) on a D-Bus session of its own, then the
# real program on a virtual X display with its accessibility switched on, and reads its windows
# through the bus as a screen reader does (pyatspi): the password screen, the launcher, the
# open-archive screen and the record editor must each show named buttons and named fields, and
# every showing button, field or other object that takes the keyboard focus must have a name of
# its own in its window and be in sight. Skipped (77) only when the bus cannot be started, saying
# why.
#   screen_reader_tree.sh <Brivanto executable> <delivered unins000.dll>
set -euo pipefail
exe=$1
password_file=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/real_program_session.sh"

start_accessibility_bus 2>"$work/no-bus" || { echo "SKIP: $(cat "$work/no-bus")"; exit 77; }

mkdir -p "$folder"
: >"$folder/Giochi rari.gdt"
start_real_program "$exe" "$password_file" 1920x1080x24 || fail "the program did not start"

failed=0
check() { # <window title> <reader options...>
    "$python" "$here/accessible_screen.py" "$program" "$@" || failed=1
}

password=$(wait_for_window '^ Brivanto - Immissione password$') || fail "no password screen"
check " Brivanto - Immissione password" --buttons 3 --fields 1

launcher=$(log_in) || fail "the launcher did not open"
sleep 0.5
# Its two big pictures and their two buttons, and its information, help, site, copyright and exit
# pictures.
check " Brivanto" --buttons 9

# The open-archive screen: its help, delete, open and cancel pictures and the list of archives.
click_in_panel "$launcher" 760 660 560 492
wait_for_window '^ Brivanto - Apertura archivio giochi da tavolo$' >/dev/null || fail "no open-archive screen"
check " Brivanto - Apertura archivio giochi da tavolo" --buttons 4 --says "Archivi di giochi da tavolo"
click_in_panel "$(wait_for_window '^ Brivanto - Apertura archivio giochi da tavolo$')" 760 680 510 596
wait_for_window '^ Brivanto$' >/dev/null || fail "Annulla did not return to the launcher"

editor=$(open_first_archive_from "$launcher") || fail "the record editor did not open"
sleep 0.5
# The 21 fields, named by their labels; the 15 pictures of the toolbar, the 10 of the photo slots
# and the for-sale box.
check " Brivanto - Zendaro" --buttons 26 --fields 21 --field "Nome del gioco:" --field "Codice ID:"

# The statistics of the (empty) archive, opened with Ctrl+T: the refresh, the four figures that list
# their games, the list of charts, the two measures, the chart, the table and the seven buttons.
xdotool windowfocus --sync "$editor"
xdotool key ctrl+t
wait_for_window '^ Statistiche .* tutto l.archivio$' >/dev/null || fail "Ctrl+T did not open the statistics"
sleep 0.5
check " Statistiche — tutto l'archivio" --buttons 14 --says "Grafico: Genere, per numero di giochi" \
    --says "Tabella: Genere" --says "Grafici"

[ "$failed" = 0 ] || fail "a screen reader meets unnamed controls or misses buttons or fields"
echo "the password screen, the launcher and the record editor read well through the accessibility bus"
