#!/usr/bin/env bash
# Builds, starts the simulated controller z5-sim on a pseudo-terminal and runs the
# configurator with COM4 mapped to it; z5-sim is stopped when the configurator exits,
# and both when this script is stopped.
# Without a display it shows the example download into z5-sim on the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
extra=()
# Rebuilds go through ccache, as the test command's do, with paths relative to the checkout.
if command -v ccache >/dev/null; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build -G Ninja "${extra[@]}" >/dev/null
# Only the programs: the tests and benchmarks are the test command's business.
cmake --build build -j "$(nproc)" --target z5-configurator z5-sim z5ctl

sim_out=$(mktemp)
./build/apps/z5-sim/z5-sim > "$sim_out" &
sim_pid=$!
app_pid=
stop() {
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  rm -f "$sim_out"
}
trap stop EXIT
# Stopped itself, the script stops the configurator too rather than leave it on a dead terminal.
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# z5-sim prints its device path on its first line.
for _ in $(seq 100); do
  [ "$(wc -l < "$sim_out")" -ge 1 ] && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.1
done
device=$(head -n 1 "$sim_out")
if [ -z "$device" ]; then
  echo "run.sh: z5-sim did not start" >&2
  exit 1
fi
echo "z5-sim is the controller on $device (COM4)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display for the configurator; downloading examples/boiler.net with z5ctl instead" >&2
  ./build/apps/z5ctl/z5ctl download --port "$device" examples/boiler.net
  exit
fi
Z5_COM4="$device" ./build/apps/z5-configurator/z5-configurator &
app_pid=$!
# wait returns early on a signal, so that the traps run at once.
status=0
wait "$app_pid" || status=$?
app_pid=
exit "$status"
