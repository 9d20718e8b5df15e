#!/usr/bin/env bash
# Builds everything with the tests and runs every test; fails when no test ran.
# Z5_SANITIZE=1 builds with ASan and UBSan in build-asan/. The benchmarks are
# built only when asked for with Z5_BENCH=1 (into build/bench/; never run here).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
if [ "${Z5_SANITIZE:-0}" = 1 ]; then
  dir=build-asan; extra=(-DZ5_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
else
  dir=build; extra=()
fi
# The tests are always built, whatever an earlier configuration of the folder said;
# the benchmarks only when asked for.
extra+=(-DZ5_BUILD_TESTS=ON)
if [ "${Z5_BENCH:-0}" = 1 ] && [ "${Z5_SANITIZE:-0}" != 1 ]; then
  extra+=(-DZ5_BUILD_BENCH=ON)
else
  extra+=(-DZ5_BUILD_BENCH=OFF)
fi
# CI sets Z5_WERROR=ON: a warning then fails the build.
extra+=(-DZ5_WERROR="${Z5_WERROR:-OFF}")
# Rebuilds after a change are much faster through ccache, where it is installed.
# Paths are made relative to the checkout, so that another clone of the tree hits the same cache.
if command -v ccache >/dev/null; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$(nproc)"
