#!/usr/bin/env bash
# Takes the screenshots of the keyboard focus mark from the real program on a virtual X display at
# 1920x1080: the launcher with "Apri archivio esistente" reached with Tab, and the record editor
# with its "Salva" button reached with Tab.
#   scripts/screenshots_focus.sh [build folder]   (default build/sanitize; the program is built first)
# Writes docs/focus_launcher.png and docs/focus_editor.png.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build/sanitize}
. "$here/scripts/packages.sh"
install_missing_packages xvfb xdotool imagemagick
cmake --build "$build" --target Brivanto brivanto_password_file_generated

. "$here/scripts/real_program_session.sh"
# An archive for the editor, there when the program starts.
mkdir -p "$folder"
: >"$folder/Giochi rari.gdt"
start_real_program "$build/program/Brivanto" "$build/program/unins000.dll" 1920x1080x24

shoot() { # <window> <file>: the window, once it has been drawn
    sleep 0.7
    import -window "$1" "$here/docs/$2"
    echo "docs/$2"
}
tab() { # <count>
    for _ in $(seq "$1"); do xdotool key Tab; sleep 0.05; done
}

password=$(wait_for_window '^ Brivanto - Immissione password$')
xdotool windowfocus --sync "$password"
xdotool type --delay 20 "benvenutissimo"
xdotool key Return
launcher=$(wait_for_window '^ Brivanto$')
xdotool windowfocus --sync "$launcher"
sleep 0.5
# The window's first focus is on "Informazioni"; then help, the two pictures and the two captioned
# buttons in reading order: the fifth Tab reaches "Apri archivio esistente".
tab 5
shoot "$launcher" focus_launcher.png

xdotool key space
opening=$(wait_for_window '^ Brivanto - Apertura archivio giochi da tavolo$')
xdotool windowfocus --sync "$opening"
sleep 0.5
# The list first: Space selects the archive under the list's cursor, then Tab to "Apri archivio"
# (help and delete come first).
xdotool key space
tab 3
xdotool key Return
editor=$(wait_for_window '^ Brivanto - Zendaro$')
xdotool windowfocus --sync "$editor"
sleep 0.5
# From the title field: the 21 fields and the for-sale box, then "Nuovo" and "Salva".
tab 23
shoot "$editor" focus_editor.png
