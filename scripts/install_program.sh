#!/usr/bin/env bash
# The install step of run.sh: fills the program folder from a build and makes the program known
# to the desktop of the user who runs it.
#   install_program.sh <build folder> <program folder>
# - the program folder gets the program and its user guide, and the password file with the
#   initial password only when there is none yet; archives, photos, attachments and the export
#   file are never touched;
# - the menu entry brivanto.desktop (in $XDG_DATA_HOME/applications, by default
#   ~/.local/share/applications) starts the program in its folder;
# - the icon goes into the hicolor theme ($XDG_DATA_HOME/icons/hicolor): the SVG and PNGs.
# Running it again replaces the program, the entry and the icon.
set -euo pipefail
build=$1
folder=$2
case "$folder" in
    /*) ;;
    *) echo "The program folder must be an absolute path: $folder" >&2; exit 1 ;;
esac
case "$folder" in
    *$'\n'* | *$'\r'*) echo "The program folder's name must not contain a line break" >&2; exit 1 ;;
esac

cmake --install "$build" --prefix "$folder" >/dev/null

data=${XDG_DATA_HOME:-$HOME/.local/share}
icons="$data/icons/hicolor"
theme="$build/icons/hicolor"
[ -f "$theme/scalable/apps/brivanto.svg" ] || { echo "The build holds no icon: $theme" >&2; exit 1; }
(cd "$theme" && find . -name brivanto.svg -o -name brivanto.png) | while read -r icon; do
    mkdir -p "$icons/$(dirname "$icon")"
    cp -f "$theme/$icon" "$icons/$icon"
done
# Icon themes are looked up through the folder's time stamp.
touch "$icons"

# A value of the entry escapes backslashes; the command line is quoted, with ", `, $ and \
# escaped inside the quotes and % doubled, as the desktop entry format asks.
entry_string() { printf '%s' "${1//\\/\\\\}"; }
exec_argument() {
    local argument=$1
    argument=${argument//\\/\\\\}
    argument=${argument//\"/\\\"}
    argument=${argument//\`/\\\`}
    argument=${argument//\$/\\\$}
    argument=${argument//%/%%}
    entry_string "\"$argument\""
}

applications="$data/applications"
mkdir -p "$applications"
entry=$(mktemp "$applications/.brivanto.desktop.XXXXXX")
cat >"$entry" <<ENTRY
[Desktop Entry]
Type=Application
Version=1.4
Name=Brivanto
GenericName=Catalogo di giochi da tavolo
Comment=Cataloghi fotografici di una collezione di giochi da tavolo
Keywords=giochi;gioco da tavolo;collezione;catalogo;foto;archivio;
Icon=brivanto
TryExec=$(entry_string "$folder/Brivanto")
Exec=$(exec_argument "$folder/Brivanto")
Path=$(entry_string "$folder")
Terminal=false
Categories=Office;Database;
StartupNotify=true
StartupWMClass=Brivanto
ENTRY
chmod 644 "$entry"
mv -f "$entry" "$applications/brivanto.desktop"
if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database -q "$applications" || true
fi
echo "Brivanto is installed in $folder, with its menu entry and icon"
