#!/usr/bin/env bash
# Reads the whole trend archive (pages A-B, all 250 by default) from z5-sim at
# line speed into a fresh record, optionally pulling the adapter out UNPLUGS
# times during the run, and prints the time against the wire floor (8 + 1064
# bytes a part at 115200 bit/s), the largest resident memory and what the run
# stored. Not part of CI: the whole archive takes about 12 minutes.
#   scripts/archive-run.sh [PAGES] [UNPLUGS]     (Z5_BUILD=build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
pages=${1:-1-250}
unplugs=${2:-0}
build=${Z5_BUILD:-build}
sim=$build/apps/z5-sim/z5-sim
z5ctl=$build/apps/z5ctl/z5ctl
[ -x "$sim" ] && [ -x "$z5ctl" ] || cmake --build "$build" -j2 --target z5-sim z5ctl >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/z5-archive.XXXXXX")
link=$work/z5
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A simulator keeps nothing when it ends, as a controller keeps its program: each
# one gets the example downloaded on its own device before the link names it,
# so the run finds the controller it left once the link is back.
start_sim() {
  : >"$work/sim.out"
  "$sim" --line-speed >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 200); do [ -s "$work/sim.out" ] && break; sleep 0.01; done
  local device
  device=$(head -1 "$work/sim.out")
  "$z5ctl" download --port "$device" --record "$work/downloads.sqlite" examples/boiler.net >/dev/null 2>&1
  ln -sfn "$device" "$link"
}

start_sim
first=${pages%-*}; last=${pages#*-}
count=$((last - first + 1))
floor_ms=$(( count * 30 * (8 + 1064) * 10 * 1000 / 115200 ))

start=$(date +%s%3N)
/usr/bin/time -f '%M' -o "$work/rss" "$z5ctl" archive --port "$link" --block U11 --pages "$pages" \
  --record "$work/record.sqlite" >"$work/out" 2>"$work/err" &
run_pid=$!
if [ "$unplugs" -gt 0 ]; then
  # Spread over the run's expected length, each outage 1 s.
  every=$(( floor_ms / (unplugs + 1) ))
  for _ in $(seq "$unplugs"); do
    sleep "$(awk -v ms="$every" 'BEGIN { printf "%.3f", ms / 1000 }')"
    kill -0 "$run_pid" 2>/dev/null || break
    kill -9 "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
    rm -f "$link"
    sleep 1
    start_sim
  done
fi
status=0
wait "$run_pid" || status=$?
took=$(( $(date +%s%3N) - start ))
echo "pages $pages, unplugs $unplugs, exit $status"
echo "time ${took} ms, wire floor ${floor_ms} ms, ratio $(awk -v a="$took" -v b="$floor_ms" 'BEGIN { printf "%.3f", a / b }')"
echo "largest resident memory $(( $(tail -1 "$work/rss") / 1024 )) MB"
cat "$work/out"
# The run's own account of what went wrong, when something did.
[ "$status" -eq 0 ] || grep -v '^z5ctl archive: [0-9]* of [0-9]* pages' "$work/err" | tail -5
