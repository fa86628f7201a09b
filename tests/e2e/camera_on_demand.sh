#!/usr/bin/env bash
# The program starts without the multimedia toolkit and loads its camera module from the program
# folder when the capture screen first asks for a camera: the password window, the launcher and
# the record editor come up without it; "Acquisisci foto" brings the module in. Likewise the SVG
# library comes only with the first drawing drawn at run time (the password window's is drawn at
# build time).
#   camera_on_demand.sh <Brivanto executable> <camera module> <delivered unins000.dll>
set -euo pipefail
exe=$1
module=$2
password_file=$3
for library in libQt6Multimedia libQt6Svg; do
    if readelf -d "$exe" | grep -q "NEEDED.*$library"; then
        echo "the program needs $library at start" >&2
        exit 1
    fi
done
. "$(dirname "$0")/../../scripts/real_program_session.sh"
loaded() { grep -q -e "$1" "/proc/$program/maps"; }

mkdir -p "$folder"
cp "$module" "$folder/"
: >"$folder/Giochi rari.gdt"
start_real_program "$exe" "$password_file" 1920x1080x24 || fail "the program did not start"
wait_for_window '^ Brivanto - Immissione password$' >/dev/null || fail "no password window"
for library in brivanto-camera libQt6Multimedia libQt6Svg; do
    loaded "$library" && fail "$library is loaded at the password window"
done
editor=$(open_first_archive) || fail "the record editor did not open"
loaded brivanto-camera && fail "the camera module is loaded before the capture screen"
loaded libQt6Svg || fail "the record editor's drawings did not bring the SVG library"

# "Acquisisci foto" of photo A: the second button of the column beside the first picture, at
# (390, 152) of the editor's centred 1340 x 662 panel.
click_in_panel "$editor" 1340 662 406 168
wait_for_window '^ Cattura foto con webcam$' >/dev/null || fail "the capture screen did not open"
loaded brivanto-camera || fail "the capture screen did not load the camera module"
loaded libQt6Multimedia || fail "the camera module did not bring the multimedia toolkit"
echo "the program started without the multimedia toolkit and loaded the camera module for the capture screen"
