#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs every test headless. Exits non-zero on any failure.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/packages.sh"
install_missing_packages "${BRIVANTO_PACKAGES[@]}" "${BRIVANTO_TEST_PACKAGES[@]}"

build="$here/build/sanitize"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRIVANTO_SANITIZE=ON -DBRIVANTO_TESTS=ON
cmake --build "$build"
# Tests that print go through a real print system; they find the PDFs in $BRIVANTO_PRINT_OUTPUT.
. "$here/scripts/print_system.sh"
start_print_system
trap stop_print_system EXIT
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
