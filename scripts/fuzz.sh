#!/usr/bin/env bash
# Builds every fuzz target with clang and libFuzzer (the product libraries
# instrumented too, with AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# them one after another for SECONDS each (default 60), starting from their seeds.
# Prints per target: inputs run, coverage (edges), corpus size, and findings
# (crashes, leaks, timeouts, inputs over 1 s), which are kept in
# build-fuzz/findings/TARGET/. Not part of CI.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${Z5_FUZZ_BUILD:-build-fuzz}

if ! command -v clang++ >/dev/null; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq clang
fi

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DZ5_FUZZ=ON -DZ5_SANITIZE=ON \
  -DZ5_BUILD_TESTS=OFF -DZ5_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

printf '%-20s %10s %8s %8s %8s %6s %9s %5s\n' target execs exec/s edges corpus crash leak/oom slow
total_findings=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$corpus" "$findings"
  log="$build/findings/$t.log"
  # Sanitizer reports go to their own files: the picture loader holds standard
  # error while a decoder runs, and a report written then would be lost.
  ASAN_OPTIONS=detect_leaks=1:log_path="$findings/sanitizer" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path="$findings/sanitizer" QT_QPA_PLATFORM=offscreen \
    "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -report_slow_units=1 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "fuzz/seeds/$t" >"$log" 2>&1 || true
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  crashes=$(find "$findings" -maxdepth 1 \( -name 'crash-*' -o -name 'timeout-*' \) | wc -l)
  leaks=$(find "$findings" -maxdepth 1 \( -name 'leak-*' -o -name 'oom-*' \) | wc -l)
  slow=$(find "$findings" -maxdepth 1 -name 'slow-unit-*' | wc -l)
  total_findings=$((total_findings + crashes + leaks + slow))
  printf '%-20s %10s %8s %8s %8s %6s %9s %5s\n' "$t" "${execs:-?}" "${rate:-?}" "${edges:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$crashes" "$leaks" "$slow"
done
echo "findings: $total_findings (reproduce one: $build/fuzz/TARGET FILE)"
[ "$total_findings" -eq 0 ]
