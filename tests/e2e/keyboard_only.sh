#!/usr/bin/env bash
# Works the real program on a virtual X display from the keyboard alone: the mouse is never moved
# or clicked. Where a sighted user would look for the focus mark, the script asks the desktop's
# accessibility bus which control has the focus, as a screen reader user hears it.
#   - the password, typed and confirmed with Enter;
#   - the launcher: Tab to "Apri archivio esistente", Space;
#   - the open-archive screen: Tab to the list of three archives, End, Home and Down select the
#     second, and Enter opens it;
#   - the record editor: a game typed field after field with Enter, saved with Ctrl+S, the
#     information box answered with Enter;
#   - Ctrl+F: the search screen finds the game, its list is printed ("Stampa", Space) through the
#     real print dialogue, accepted with Enter, onto the PDF queue of the test run; Escape closes
#     the screen;
#   - Ctrl+T: the statistics of the whole archive, the focus on the chart, whose bar names the game's
#     genre with its figures; Enter lists the bar's game; Escape closes the list, then the statistics;
#   - the export screen, reached with Tab and Space: "Esporta" with Space, both questions answered
#     Yes with Enter; the desktop has no application to open the file with (the program runs
#     without one on its path), so a warning names the file, and Enter closes it; Escape closes
#     the screen;
#   - "Esporta in CSV" on the export screen, the save dialog answered by typing a path: the file
#     holds the game;
#   - Alt+Delete on the game: Enter answers the question No (its default) and the game stays; a
#     second Alt+Delete, Tab to "Sì" and Space delete it, the archive is empty and the game's
#     photos are in the test's own trash;
#   - Ctrl+I on the editor, the open dialog answered by typing the path of a BoardGameGeek
#     collection file, "Importa" in the summary with Enter: the archive holds the imported game;
#   - back out: Escape, or the editor's and the launcher's exit buttons with Tab and Space, and the
#     program ends cleanly.
# The archive must hold the game as typed, the queue a PDF of the list, the export file the game.
#   keyboard_only.sh <Brivanto executable> <delivered unins000.dll> [screenshot.png]
set -euo pipefail
exe=$1
password_file=$2
screenshot=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${BRIVANTO_PRINT_OUTPUT:-}" ] || { echo "SKIP: no print system in this run"; exit 77; }
command -v pdftotext >/dev/null || { echo "SKIP: pdftotext is not installed"; exit 77; }
. "$here/../../scripts/real_program_session.sh"
start_accessibility_bus 2>"$work/no-bus" || { echo "SKIP: $(cat "$work/no-bus")"; exit 77; }

mkdir -p "$folder"
# The deleted game's photos go to a trash of the run's own.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_DATA_HOME/Trash"
archive="$folder/Giochi rari.gdt"
: >"$archive"
# Listed before and after it: only the keys that select it open it.
: >"$folder/Altri giochi.gdt"
: >"$folder/Zaino.gdt"
# A path without the desktop's opener: asked to open the exported file, the desktop refuses.
program_path="$work/no-opener"
mkdir -p "$program_path"
unset BROWSER DEFAULT_BROWSER
start_real_program "$exe" "$password_file" 1920x1080x24 || fail "the program did not start"

# The control with the keyboard focus, as "role<tab>name".
focus() { "$python" "$here/accessible_focus.py" "$program"; }

# Presses <key> (Tab unless given) until the focus is on a control whose "role<tab>name" matches
# the extended regular expression <pattern>.
move_focus_to() { # <pattern> [key]
    local now="" _
    for _ in $(seq 80); do
        now=$(focus)
        [[ $now =~ $1 ]] && return 0
        xdotool key "${2:-Tab}"
        sleep 0.1
    done
    fail "the focus never reached $1 (last on \"$now\")"
}

# Waits, at most 10 s, until the focus is on a control matching <pattern>, without a key.
await_focus() { # <pattern>
    local now="" _
    for _ in $(seq 50); do
        now=$(focus)
        [[ $now =~ $1 ]] && return 0
        sleep 0.2
    done
    fail "the focus is not on $1 but on \"$now\""
}

# A window the script waits for gets the keyboard, as a window manager would give it.
window() { # <name regex>
    local id
    id=$(wait_for_window "$1") || fail "no window $1"
    xdotool windowfocus --sync "$id"
    echo "$id"
}

# Answers the message box in front with Enter after checking it says <text>.
# The next box may follow at once under the same title: the box answered is told by its window.
answer_box() { # <text>
    local box _
    box=$(window '^Brivanto$')
    "$python" "$here/accessible_screen.py" "$program" "Brivanto" --says "$1" >&2 ||
        fail "the message box does not say \"$1\""
    xdotool key Return
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name '^Brivanto$' 2>/dev/null | grep -qx "$box" || return 0
        sleep 0.2
    done
    fail "the message box saying \"$1\" stayed open"
}

field_holds() { # <offset> <ASCII text>: the record field's length byte, then its text
    local length=${#2}
    { printf "\\$(printf '%03o' "$length")"; printf '%s' "$2"; } >"$work/expected"
    tail -c +$(($1 + 1)) "$archive" | head -c $((length + 1)) | cmp -s - "$work/expected"
}

password=$(window '^ Brivanto - Immissione password$')
await_focus $'^password text\t'
xdotool type --delay 20 "benvenutissimo"
xdotool key Return

launcher=$(window '^ Brivanto$')
move_focus_to $'^push button\tApri archivio esistente$'
xdotool key space

window '^ Brivanto - Apertura archivio giochi da tavolo$' >/dev/null
move_focus_to $'^list\t'
for key in End Home Down; do
    xdotool key "$key"
    sleep 0.1
done
xdotool key Return

editor=$(window '^ Brivanto - Zendaro$')
await_focus $'^text\tNome del gioco:$'
title="Il Castello di Vetro"
code="CV-2024"
genre="Piazzamento tessere"
publisher="Edizioni Lago"
description="Prima tiratura con espansione"
year="2019"
for text in "$title" "$code" "$genre" "$publisher" "$description"; do
    xdotool type --delay 20 "$text"
    xdotool key Return
done
await_focus $'^text\tAnno di uscita:$'
xdotool type --delay 20 "$year"
xdotool key ctrl+s
answer_box "inserita in archivio"
[ "$(stat -c %s "$archive")" = 3376 ] || fail "Ctrl+S did not save exactly one record"
for check in "0:$title" "121:$code" "172:$genre" "223:$publisher" "274:$description" "525:$year"; do
    field_holds "${check%%:*}" "${check#*:}" || fail "the archive does not hold \"${check#*:}\" as typed"
done

# The search: the title's first word in the first filter, then "Cerca".
lists='^Riepilogo_dati-job_.*\.pdf$'
before=$(printed_jobs "$lists")
window '^ Brivanto - Zendaro$' >/dev/null
xdotool key ctrl+f
window '^ Trova giochi da tavolo in archivio$' >/dev/null
await_focus $'^text\tNome del gioco:$'
xdotool type --delay 20 "castello"
move_focus_to $'^push button\tCerca$'
xdotool key space
await_focus $'^text\t'
move_focus_to $'^push button\tStampa$'
xdotool key space
window '^(Stampa|Print)$' >/dev/null
sleep 0.5
xdotool key Return
wait_until_gone '^(Stampa|Print)$' || fail "the print dialogue stayed open after Enter"
pdf=$(await_printed_pdf "$lists" "$before" "$code") || fail "no list came out of the print queue"
text=$(pdftotext "$pdf" - | tr -s ' \n' ' ')
for expected in "Riepilogo giochi da tavolo in archivio" "$title" "$code" "Stampa eseguita in data"; do
    case "$text" in *"$expected"*) ;; *) fail "the printed list lacks \"$expected\": $text" ;; esac
done
xdotool key Escape
wait_until_gone '^ Trova giochi da tavolo in archivio$' || fail "Escape did not close the search screen"

# The statistics: Ctrl+T on the editor, the chart has the focus, Enter on its bar lists the game.
window '^ Brivanto - Zendaro$' >/dev/null
xdotool key ctrl+t
statistics='^ Statistiche .* tutto l.archivio$'
window "$statistics" >/dev/null
await_focus $'^list\tGrafico: Genere, per numero di giochi$'
"$python" "$here/accessible_screen.py" "$program" " Statistiche — tutto l'archivio" \
    --says "$genre: 1 gioco, 0 in vendita" --says "In vendita: 0 giochi" >&2 ||
    fail "the statistics do not name the game's genre and the figures"
xdotool key Return
window "^ Statistiche .* Genere: $genre$" >/dev/null
"$python" "$here/accessible_screen.py" "$program" " Statistiche — Genere: $genre" --says "$title" >&2 ||
    fail "the list of the bar does not hold the game"
xdotool key Escape
wait_until_gone "^ Statistiche .* Genere: $genre$" || fail "Escape did not close the list of the bar"
window "$statistics" >/dev/null
xdotool key Escape
wait_until_gone "$statistics" || fail "Escape did not close the statistics"

# The export.
window '^ Brivanto - Zendaro$' >/dev/null
move_focus_to $'^push button\tEsporta l\'archivio in un file di Excel\\.$'
xdotool key space
window '^ Esporta archivio giochi da tavolo in Excel$' >/dev/null
move_focus_to $'^push button\tEsporta l\'archivio in formato Microsoft Excel\\.$'
xdotool key space
answer_box "Si vuole esportare i dati adesso?"
answer_box "Si vuole aprire il file di Excel?"
answer_box "Attenzione: non è stato possibile aprire il file \"$folder/Zendaro.xls\""
grep -q "$title" "$folder/Zendaro.xls" || fail "the export file does not hold the game"
# The CSV export: its button is the next in the Tab order; the save dialog is answered by typing
# the path.
csv="$work/Collezione.csv"
window '^ Esporta archivio giochi da tavolo in Excel$' >/dev/null
move_focus_to $'^push button\tEsporta l\'archivio in un file CSV'
xdotool key space
window "^Esporta l'archivio in un file CSV$" >/dev/null
xdotool key ctrl+a
xdotool type --delay 20 "$csv"
xdotool key Return
answer_box "Le schede in archivio sono state esportate nel file CSV"
grep -q "$title" "$csv" || fail "the CSV file does not hold the game"
[ -n "$screenshot" ] && command -v import >/dev/null && import -window root "$screenshot" || true
xdotool key Escape
wait_until_gone '^ Esporta archivio giochi da tavolo in Excel$' || fail "Escape did not close the export screen"

# The deletion: No is the default, so Enter keeps the game; Sì has to be chosen.
window '^ Brivanto - Zendaro$' >/dev/null
xdotool key alt+Delete
answer_box "Si sta per eliminare dall'archivio la scheda n. 1 \"$title\""
[ "$(stat -c %s "$archive")" = 3376 ] || fail "Enter on the deletion question deleted the game"
photos=$(find "$folder/Foto_Gioco" -name 'Giochi rari_Foto_*_1.jpg' 2>/dev/null | wc -l)
window '^ Brivanto - Zendaro$' >/dev/null
xdotool key alt+Delete
question=$(window '^Brivanto$')
"$python" "$here/accessible_screen.py" "$program" "Brivanto" --says "Si conferma l'eliminazione della scheda?" >&2 ||
    fail "Alt+Delete did not ask before deleting"
# The box holds two buttons and the focus starts on No: Tab takes it to "Sì". (The focus reader
# finds the editor's stale focus before the box's, so the archive below tells which was pressed.)
xdotool key Tab
sleep 0.2
xdotool key space
for _ in $(seq 150); do
    xdotool search --onlyvisible --name '^Brivanto$' 2>/dev/null | grep -qx "$question" || break
    sleep 0.2
done
answer_box "stata eliminata dall'archivio."
[ "$(stat -c %s "$archive")" = 0 ] || fail "the archive did not shrink by the deleted game"
[ -z "$(find "$folder/Foto_Gioco" -name 'Giochi rari_Foto_*' 2>/dev/null)" ] ||
    fail "the deleted game's photos stayed in the photo folder"
[ "$(find "$XDG_DATA_HOME/Trash/files" -type f 2>/dev/null | wc -l)" = "$photos" ] ||
    fail "the deleted game's $photos photos are not in the trash"
# The empty archive leaves an empty screen, ready for a new game.
window '^ Brivanto - Zendaro$' >/dev/null
await_focus $'^text\tNome del gioco:$'

# The import, into the archive the deletion emptied: Ctrl+I in a field, the open dialog answered by typing the path of a BoardGameGeek
# collection file, the summary's "Importa" (it has the focus) pressed with Enter; the editor then
# shows the imported game.
bgg="$work/collezione.csv"
printf 'objectname,objectid,own,yearpublished\r\nGioco Importato,4242,1,2001\r\n' >"$bgg"
window '^ Brivanto - Zendaro$' >/dev/null
move_focus_to $'^text\tNome del gioco:$'
xdotool key ctrl+i
window '^Importa giochi da un file CSV$' >/dev/null
xdotool key ctrl+a
xdotool type --delay 20 "$bgg"
xdotool key Return
window '^ Importazione da file CSV$' >/dev/null
await_focus $'^push button\tImporta$'
xdotool key Return
wait_until_gone '^ Importazione da file CSV$' || fail "the summary stayed open"
for _ in $(seq 50); do
    [ "$(stat -c %s "$archive")" = 3376 ] && break
    sleep 0.2
done
[ "$(stat -c %s "$archive")" = 3376 ] || fail "the import did not append exactly one record"
field_holds 0 "Gioco Importato" || fail "the archive does not hold the imported game"

# Back out: the editor's exit, then the launcher's.
window '^ Brivanto - Zendaro$' >/dev/null
move_focus_to $'^push button\tEsci da questa schermata\\.$'
xdotool key space
window '^ Brivanto$' >/dev/null
move_focus_to $'^push button\tEsci'
xdotool key space
await_program_end "the launcher's exit"
echo "from the password to the end of the program with the keyboard alone: a game saved, its list printed, its statistics and the games of a bar read, the archive exported, as CSV too, the game deleted, a collection imported"
