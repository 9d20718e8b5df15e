#!/usr/bin/env bash
# Pictures of every view of the configurator: starts z5-sim on a pseudo-terminal
# and walks the windows against it under a virtual X server (Xvfb), once at
# 1280x1024 and once at 1024x768 with 125 % scaling. One PNG per view goes to
# build/screens/1280x1024/ and build/screens/1024x768-125/.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xvfb-run >/dev/null || { echo "screens.sh: needs xvfb-run (Debian package xvfb)" >&2; exit 1; }
[ -f build/build.ninja ] || [ -f build/Makefile ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target z5-sim ui_screen_walk >/dev/null

sim_out=$(mktemp)
sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  sim_pid=
}
trap 'stop_sim; rm -f "$sim_out"' EXIT

start_sim() {
  : > "$sim_out"
  ./build/apps/z5-sim/z5-sim > "$sim_out" &
  sim_pid=$!
  # z5-sim prints its device path on its first line.
  for _ in $(seq 100); do
    [ "$(wc -l < "$sim_out")" -ge 1 ] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
  done
  device=$(head -n 1 "$sim_out")
  [ -n "$device" ] || { echo "screens.sh: z5-sim did not start" >&2; exit 1; }
}

status=0
walk() {  # walk NAME SCREEN SCALE
  local dir="build/screens/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  start_sim
  # A fresh settings folder: no window places from an earlier run.
  local home
  home=$(mktemp -d)
  echo "== $1 (z5-sim on $device)"
  XDG_CONFIG_HOME="$home" Z5_COM4="$device" QT_SCALE_FACTOR="$3" \
    xvfb-run -a -s "-screen 0 $2x24" ./build/tests/ui_main/ui_screen_walk "$dir" || status=1
  rm -rf "$home"
  stop_sim
}

walk 1280x1024 1280x1024 1
walk 1024x768-125 1024x768 1.25
exit $status
