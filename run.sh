#!/usr/bin/env bash
# Installs what is missing, builds the program, installs the program folder with its menu entry
# and icon, and starts it. The program folder is ~/Brivanto, or BRIVANTO_DIR=/some/folder ./run.sh.
# With --install it stops after the install.
set -euo pipefail
start=yes
case "${1:-}" in
    --install) start=no ;;
    "") ;;
    *) echo "usage: $0 [--install]" >&2; exit 1 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/packages.sh"
install_missing_packages "${BRIVANTO_PACKAGES[@]}"

folder=${BRIVANTO_DIR:-$HOME/Brivanto}
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
build="$here/build/release"
case "$folder/" in
    "$here/build/"*) echo "The program folder must not lie inside the build tree: $folder" >&2; exit 1 ;;
esac

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIVANTO_TESTS=OFF \
    -DCMAKE_INSTALL_PREFIX="$folder" >/dev/null
cmake --build "$build"
# Replaces the program, its user guide, the menu entry and the icon; archives, photos,
# attachments, the export file and the password file already in the folder are left as they are.
"$here/scripts/install_program.sh" "$build" "$folder"
[ "$start" = yes ] || exit 0

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so Brivanto cannot be started here." >&2
    echo "Start it from a desktop session with: $folder/Brivanto" >&2
    exit 2
fi
cd "$folder"
exec "$folder/Brivanto"
