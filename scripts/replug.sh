#!/usr/bin/env bash
# Pulls the adapter out and plugs it in again, CYCLES times: z5-sim goes away
# and comes back at the same path while `z5ctl watch --keep-going` reads every
# 100 ms. Prints how many cycles the watch was reading again within 2 s of the
# adapter's return, and the slowest return. Not part of CI.
#   scripts/replug.sh CYCLES        (Z5_BUILD=build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
cycles=${1:?usage: scripts/replug.sh CYCLES}
build=${Z5_BUILD:-build}
sim=$build/apps/z5-sim/z5-sim
z5ctl=$build/apps/z5ctl/z5ctl
[ -x "$sim" ] && [ -x "$z5ctl" ] || cmake --build "$build" -j2 --target z5-sim z5ctl >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/z5-replug.XXXXXX")
link=$work/z5
sim_pid=""; watch_pid=""
cleanup() {
  [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_sim() {
  "$sim" --link "$link" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do [ -s "$work/sim.out" ] && return; sleep 0.01; done
}
now_ms() { date +%s%3N; }

start_sim
"$z5ctl" watch --port "$link" --block U1 --every 100 --keep-going >"$work/rows" 2>"$work/err" &
watch_pid=$!
sleep 1
within=0; slowest=0
for c in $(seq "$cycles"); do
  kill -9 "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
  sleep 0.5
  before=$(grep -c ' reopened ' "$work/err" || true)
  start_sim
  back=$(now_ms)
  while [ "$(grep -c ' reopened ' "$work/err" || true)" -le "$before" ]; do
    [ $(( $(now_ms) - back )) -gt 10000 ] && break
    sleep 0.02
  done
  took=$(( $(now_ms) - back ))
  [ "$took" -le 2000 ] && within=$((within + 1))
  [ "$took" -gt "$slowest" ] && slowest=$took
  sleep 0.3
done
echo "cycles: $cycles, back within 2 s: $within, slowest: ${slowest} ms, rows read: $(wc -l <"$work/rows")"
