#!/usr/bin/env bash
# Installs what is missing, builds the program, installs the program folder and starts it.
# The program folder is ~/Brivanto, or BRIVANTO_DIR=/some/folder ./run.sh.
set -euo pipefail
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
# Replaces the program and its user guide; archives, photos, attachments, the export file and
# the password file already in the folder are left as they are.
cmake --install "$build" >/dev/null
echo "Brivanto is installed in $folder"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so Brivanto cannot be started here." >&2
    echo "Start it from a desktop session with: $folder/Brivanto" >&2
    exit 2
fi
cd "$folder"
exec "$folder/Brivanto"
