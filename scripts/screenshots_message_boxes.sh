#!/usr/bin/env bash
# Takes the screenshots of docs/ from the real program on a virtual X display: the message box of a
# wrong password and the confirmation of a newly created archive.
#   scripts/screenshots_message_boxes.sh [build folder]   (default build/sanitize; the program is built first)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/sanitize}
. "$here/scripts/packages.sh"
install_missing_packages xvfb xdotool imagemagick
cmake --build "$build" --target Brivanto brivanto_password_file_generated

. "$here/scripts/real_program_session.sh"
start_real_program "$build/program/Brivanto" "$build/program/unins000.dll" 1366x768x24

shoot() { # <window> <file>: the window, once it has been drawn
    sleep 0.7
    import -window "$1" "$here/docs/$2"
    echo "docs/$2"
}

password=$(wait_for_window '^ Brivanto - Immissione password$')
xdotool windowfocus --sync "$password"
xdotool type --delay 20 "sbagliata"
xdotool key Return
box=$(wait_for_window '^Brivanto$')
shoot "$box" wrong_password.png
xdotool windowfocus --sync "$box" key Return

xdotool windowfocus --sync "$password"
xdotool type --delay 20 "benvenutissimo"
xdotool key Return
launcher=$(wait_for_window '^ Brivanto$')
sleep 0.5
click_in_panel "$launcher" 760 660 200 330 # the "Crea nuovo archivio" picture

create=$(wait_for_window '^ Brivanto - Creazione archivio giochi da tavolo$')
sleep 0.5
xdotool type --delay 20 "Giochi rari"
click_in_panel "$create" 760 560 250 426 # "Applica e chiudi"
box=$(wait_for_window '^Brivanto$')
shoot "$box" create_archive_confirmation.png
