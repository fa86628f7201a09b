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
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
