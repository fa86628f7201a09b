#!/usr/bin/env bash
# Starts the real program on a virtual X display in a fresh program folder with one empty
# archive, and works as a user would with mouse and keyboard: the password, the launcher, the
# open-archive screen, then the record editor. A game with accented letters and the euro sign is
# typed and saved (the information box answered with Enter); New empties the screen and First
# brings the record back. Saving it again must overwrite it with exactly the same bytes, which
# holds only if every field came back on screen as it was typed. The archive's bytes are checked
# against the Windows-1252 text that was typed.
#   editor_round_trip.sh <Brivanto executable> <delivered unins000.dll> [screenshot.png]
set -euo pipefail
exe=$1
password_file=$2
screenshot=${3:-}
. "$(dirname "$0")/../../scripts/real_program_session.sh"

mkdir -p "$folder"
archive="$folder/Giochi rari.gdt"
: >"$archive"
photo_a="$folder/Foto_Gioco/Giochi rari_Foto_A_1.jpg"
photo_b="$folder/Foto_Gioco/Giochi rari_Foto_B_1.jpg"
start_real_program "$exe" "$password_file" 1920x1080x24 || fail "the program did not start"

# The information box after a save: Enter presses its default button, OK.
answer_information_box() {
    local box
    box=$(wait_for_window '^Brivanto$')
    xdotool windowfocus --sync "$box"
    xdotool key Return
    wait_until_gone '^Brivanto$' || fail "the information box stayed open"
}

# Types text into the control with the keyboard focus. The virtual keyboard has no key for à, è,
# é, ù or €: xdotool types such a character by binding it to a spare key for a moment, and the
# program reads the new key map when it is told of the change. Had the key already been unbound
# by then, the character would be lost, so each one is typed on its own with the binding held
# for a fifth of a second; the rest goes in runs.
type_text() { # <UTF-8 text>
    local LC_ALL=C.UTF-8 text=$1 run="" ch
    while [ -n "$text" ]; do
        ch=${text:0:1}
        text=${text:1}
        if [ "$(printf '%s' "$ch" | LC_ALL=C wc -c)" -eq 1 ]; then
            run+=$ch
            continue
        fi
        [ -n "$run" ] && xdotool type --delay 30 "$run"
        run=""
        xdotool type --delay 400 "$ch"
    done
    [ -n "$run" ] && xdotool type --delay 30 "$run"
    return 0
}

# Whether the record field at <offset> holds <text>: its length byte, then its Windows-1252 bytes.
field_holds() { # <offset> <UTF-8 text>
    local expected="$work/expected" length
    printf '%s' "$2" | iconv -f UTF-8 -t WINDOWS-1252 >"$expected.text"
    length=$(stat -c %s "$expected.text")
    { printf "\\$(printf '%03o' "$length")"; cat "$expected.text"; } >"$expected"
    tail -c +$(( $1 + 1 )) "$archive" | head -c $(( length + 1 )) | cmp -s - "$expected"
}

# Whether a file starts as a JPEG does.
is_jpeg() {
    [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' \n')" = "ffd8ff" ]
}

# The record editor's 1340 x 662 panel. An edit's centre: x = 448 + its x + half its width,
# y = 139 + 46 per row (field panel at (436, 68), fields 40 below its top, 17 below their label,
# 28 high, 12 in from its side).
editor=$(open_first_archive) || fail "the record editor did not open"
sleep 0.5
xdotool windowfocus --sync "$editor"
edit_at() { # <field x> <field width> <row>
    click_in_panel "$editor" 1340 662 $(( 448 + $1 + $2 / 2 )) $(( 139 + 46 * $3 ))
}
title="Città del Sole"
code="CS-1602"
genre="Utopia, città ideale"
publisher="Edizioni Tommaso"
description="Prima edizione, prezzo di copertina 39 € (perché è rara)"
year="1982"
age="Età: 10+"
note="Manca una pedina; scatola più scura"

# Enter leads from each edit to the next: title, code, genre, publisher, description, year.
edit_at 0 580 0
for text in "$title" "$code" "$genre" "$publisher" "$description" "$year"; do
    type_text "$text"
    xdotool key Return
done
edit_at 294 282 8
type_text "$age"
edit_at 56 600 10
type_text "$note"

# The toolbar: New at (36, 32), Save at (82, 32), First at (572, 32), Exit at (1304, 32).
click_in_panel "$editor" 1340 662 82 32
answer_information_box
[ "$(stat -c %s "$archive")" = 3376 ] || fail "the first save did not leave exactly one record"
for check in "0:$title" "121:$code" "172:$genre" "223:$publisher" "274:$description" "525:$year" \
    "1412:$age" "1616:$note"; do
    field_holds "${check%%:*}" "${check#*:}" || {
        od -An -c -j "${check%%:*}" -N 80 "$archive" >&2
        fail "the archive does not hold \"${check#*:}\" as typed"
    }
done
for photo in "$photo_a" "$photo_b"; do
    [ -f "$photo" ] && is_jpeg "$photo" || fail "the save did not write the JPEG photo $photo"
done
cp "$archive" "$work/archive-saved"
cp "$photo_a" "$work/photo-a-saved"
cp "$photo_b" "$work/photo-b-saved"

# New, then First: the record comes back. Saved again, it must overwrite itself unchanged.
click_in_panel "$editor" 1340 662 36 32
click_in_panel "$editor" 1340 662 624 32
sleep 0.5
[ -n "$screenshot" ] && command -v import >/dev/null && import -window root "$screenshot" || true
click_in_panel "$editor" 1340 662 82 32
answer_information_box
[ "$(stat -c %s "$archive")" = 3376 ] || fail "saving the record shown by First did not overwrite it"
cmp -s "$work/archive-saved" "$archive" || {
    cmp -l "$work/archive-saved" "$archive" | head -n 20 >&2
    fail "the record shown by First was saved with other bytes than it was typed"
}
cmp -s "$work/photo-a-saved" "$photo_a" && cmp -s "$work/photo-b-saved" "$photo_b" ||
    fail "saving the record again rewrote its photos"

# Leave by the editor's exit and the launcher's exit icon: the program must end cleanly.
click_in_panel "$editor" 1340 662 1304 32
launcher=$(wait_for_window '^ Brivanto$')
sleep 0.3
click_in_panel "$launcher" 760 660 728 628
await_program_end "the exit icon"
echo "typed, saved, browsed back and saved again a record with accented letters and the euro sign"
