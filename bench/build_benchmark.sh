# Sourced by the bench/run_*.sh scripts: `build_benchmark <target>...` installs what is missing, builds
# the benchmark in Release (in BUILD_DIR, default build-bench) and sets $here and $build. With
# BRIVANTO_BENCH_BUILT=1 (set by run_all.sh, which builds every benchmark once) it builds nothing.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build-bench}
. "$here/scripts/packages.sh"
build_benchmark() { # <target>...
    [ "${BRIVANTO_BENCH_BUILT:-}" = 1 ] && return 0
    install_missing_packages "${BRIVANTO_PACKAGES[@]}" libbenchmark-dev python3
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRIVANTO_TESTS=OFF -DBRIVANTO_BENCH=ON >/dev/null
    cmake --build "$build" --target "$@" >/dev/null
}
