#!/usr/bin/env bash
# Draws docs/icon.png: the program's icon as the install puts it in the icon theme, at 16, 48 and
# 256 pixels on a light and a dark strip. Builds in Release (in BUILD_DIR, default build/release).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/packages.sh"
install_missing_packages "${BRIVANTO_PACKAGES[@]}"
build=${BUILD_DIR:-$here/build/release}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIVANTO_TESTS=OFF -DBRIVANTO_TOOLS=ON >/dev/null
cmake --build "$build" --target brivanto_icons brivanto_icon_sheet >/dev/null
QT_QPA_PLATFORM=offscreen "$build/scripts/icon_sheet/brivanto_icon_sheet" "$build/icons/hicolor" "$here/docs/icon.png"
echo "docs/icon.png"
