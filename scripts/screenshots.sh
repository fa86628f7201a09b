#!/usr/bin/env bash
# Takes the screenshots of docs/ from the real program on a virtual X display:
#   scripts/screenshots.sh [width height]   (default 1920 1080)
# Writes docs/launcher.png, docs/editor.png and docs/statistics.png (docs/editor-<width>x<height>.png
# and docs/statistics-<width>x<height>.png for other sizes),
# the screens opened from the editor in docs/screens-<width>x<height>/,
# and, at the default size, the two message boxes of scripts/screenshots_message_boxes.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
width=${1:-1920}
height=${2:-1080}
. "$here/scripts/packages.sh"
install_missing_packages "${BRIVANTO_PACKAGES[@]}" xvfb xauth xdotool

build="$here/build/release"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIVANTO_TESTS=OFF -DBRIVANTO_TOOLS=ON >/dev/null
cmake --build "$build" --target brivanto_screenshots

work=$(mktemp -d)
server=""
cleanup() { [ -n "$server" ] && kill "$server" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
. "$here/scripts/virtual_display.sh"
start_virtual_display "${width}x${height}x24" "$work"
QT_QPA_PLATFORM=xcb "$build/scripts/screenshots/brivanto_screenshots" "$work"

if [ "$width" = 1920 ] && [ "$height" = 1080 ]; then
    cp "$work/launcher.png" "$here/docs/launcher.png"
    cp "$work/editor.png" "$here/docs/editor.png"
    cp "$work/statistics.png" "$here/docs/statistics.png"
    "$here/scripts/screenshots_message_boxes.sh"
else
    cp "$work/editor.png" "$here/docs/editor-${width}x${height}.png"
    cp "$work/statistics.png" "$here/docs/statistics-${width}x${height}.png"
fi
# Every screen opened from the editor, at this size.
mkdir -p "$here/docs/screens-${width}x${height}"
for shot in search for_sale attachments export capture zoom slideshow card_print card_preview card_preview_window \
    statistics statistics_value statistics_players statistics_list statistics_page; do
    cp "$work/$shot.png" "$here/docs/screens-${width}x${height}/$shot.png"
done
echo "screenshots written to $here/docs"
