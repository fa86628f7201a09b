#!/usr/bin/env bash
# Writes a sample card and a sample summary through the report engine and rasterises a page of
# each into docs/: docs/card.png (the A4 card) and docs/summary.png (the first page of a
# three-page summary).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/packages.sh"
install_missing_packages "${BRIVANTO_PACKAGES[@]}" poppler-utils

build="$here/build/release"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIVANTO_TESTS=OFF -DBRIVANTO_TOOLS=ON >/dev/null
cmake --build "$build" --target brivanto_report_pages

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/scripts/report_pages/brivanto_report_pages" "$work"
pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$work/card.pdf" "$here/docs/card"
pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$work/summary.pdf" "$here/docs/summary"
echo "report pages written to $here/docs (summary: $(pdfinfo "$work/summary.pdf" | awk '/^Pages:/ {print $2}') pages)"
