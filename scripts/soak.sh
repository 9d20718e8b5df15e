#!/usr/bin/env bash
# A long run of the link against z5-sim with its faults cycling: z5ctl reads one
# block every 250 ms (as the console's auto refresh does) and, from a second
# z5-sim (a port is open to one program at a time), a trend page every 10 s,
# while the simulators drop, delay, spoil and cut replies or fall silent in turn,
# and both vanish and come back at the same path every minute. Prints replies
# good/bad/missing, trend pages read/failed, misparsed frames (must be 0),
# reconnects, and the reader's CPU time and resident memory at start and end.
# Not part of CI.
#   scripts/soak.sh MINUTES        (Z5_BUILD=build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:?usage: scripts/soak.sh MINUTES}
build=${Z5_BUILD:-build}
sim=$build/apps/z5-sim/z5-sim
z5ctl=$build/apps/z5ctl/z5ctl
[ -x "$sim" ] && [ -x "$z5ctl" ] || cmake --build "$build" -j2 --target z5-sim z5ctl >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/z5-soak.XXXXXX")
link=$work/z5
tick=$(getconf CLK_TCK)
trend_link=$work/z5-trend
sim_pid=""; watch_pid=""; trend_sim_pid=""; trend_loop_pid=""
cleanup() {
  [ -n "$trend_loop_pid" ] && kill "$trend_loop_pid" 2>/dev/null || true
  [ -n "$watch_pid" ] && kill "$watch_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$trend_sim_pid" ] && kill "$trend_sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

runs=0
start_sim() {
  runs=$((runs + 1))
  "$sim" --link "$link" --timeline "$work/sim-$runs.jsonl" --fault-cycle 8 >/dev/null &
  sim_pid=$!
  for _ in $(seq 50); do [ -e "$link" ] && return; sleep 0.1; done
  echo "soak: z5-sim did not start" >&2; exit 1
}
# The trend pages' simulator, with the example's trend recorder (U11) downloaded.
start_trend_sim() {
  "$sim" --link "$trend_link" --timeline "$work/trend-sim-$runs.jsonl" --fault-cycle 8 >/dev/null &
  trend_sim_pid=$!
  for _ in $(seq 50); do [ -e "$trend_link" ] && break; sleep 0.1; done
  "$z5ctl" download --port "$trend_link" examples/boiler.net >/dev/null 2>>"$work/trend.err" || true
}
trend_loop() {
  while :; do
    sleep 10
    if timeout 60 "$z5ctl" trend --port "$trend_link" --block U11 --page 2 --out "$work/page.csv" \
         >/dev/null 2>>"$work/trend.err"; then echo read; else echo failed; fi >>"$work/trend.log"
  done
}
# CPU seconds (user + system) and resident kilobytes of a process.
cpu_of() { awk -v t="$tick" '{ printf "%.2f", ($14 + $15) / t }' "/proc/$1/stat"; }
rss_of() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

start_sim
start_trend_sim
trend_loop &
trend_loop_pid=$!
# Line-buffered, so that no reply line is lost in the buffer when it is stopped.
stdbuf -oL "$z5ctl" watch --port "$link" --block U1 --type MUL --every 250 --keep-going \
  >"$work/watch.out" 2>"$work/watch.err" &
watch_pid=$!
sleep 5
cpu_start=$(cpu_of "$watch_pid"); rss_start=$(rss_of "$watch_pid")

end=$((SECONDS + minutes * 60))
gone_cpu=0; gone_seconds=0
while [ $SECONDS -lt $end ]; do
  sleep $((end - SECONDS < 55 ? end - SECONDS : 55))
  [ $SECONDS -ge $end ] && break
  # The far end vanishes for five seconds (its timeline written out); the reader
  # should wait, not spin.
  kill -TERM "$sim_pid" "$trend_sim_pid"; wait "$sim_pid" "$trend_sim_pid" 2>/dev/null || true
  before=$(cpu_of "$watch_pid")
  sleep 5
  after=$(cpu_of "$watch_pid")
  gone_cpu=$(awk -v a="$gone_cpu" -v b="$before" -v c="$after" 'BEGIN { printf "%.2f", a + c - b }')
  gone_seconds=$((gone_seconds + 5))
  start_sim
  start_trend_sim
done
sleep 5   # time to find the last comeback
cpu_end=$(cpu_of "$watch_pid"); rss_end=$(rss_of "$watch_pid")
kill "$watch_pid"; wait "$watch_pid" 2>/dev/null || true; watch_pid=""
kill "$trend_loop_pid"; wait "$trend_loop_pid" 2>/dev/null || true; trend_loop_pid=""
kill "$sim_pid" "$trend_sim_pid"; wait "$sim_pid" "$trend_sim_pid" 2>/dev/null || true; sim_pid=""; trend_sim_pid=""

good=$(($(wc -l <"$work/watch.out") - 1))
bad=$(grep -c "check value was wrong" "$work/watch.err" || true)
missing=$(grep -c "no valid reply" "$work/watch.err" || true)
missing=$((missing - bad))
reconnects=$(grep -c " reopened " "$work/watch.err" || true)
# Frames z5-sim could not take apart, and replies taken as good beyond those it
# sent unspoiled: both would be a reader accepting or sending damage.
pages_read=$(grep -c '^read' "$work/trend.log" 2>/dev/null || true)
pages_failed=$(grep -c '^failed' "$work/trend.log" 2>/dev/null || true)
unparsed=$(cat "$work"/sim-*.jsonl "$work"/trend-sim-*.jsonl | grep -c '"check":false' || true)
clean=$(cat "$work"/sim-*.jsonl | grep '"dir":"out"' | grep '"what":"block reply"' |
        grep -v '"fault":"\(dropped\|wrong check value\|short\)"' | wc -l)
accepted_damage=$((good > clean ? good - clean : 0))
phases=$(cat "$work"/sim-*.jsonl | grep -c '"what":"fault phase"' || true)

echo "soak: $minutes min, z5-sim started $runs times, $phases fault phases"
echo "replies: good $good, bad $bad, missing $missing"
echo "trend pages: read $pages_read, failed $pages_failed"
echo "misparsed frames: $((unparsed + accepted_damage)) (z5-sim could not parse $unparsed; accepted beyond clean $accepted_damage)"
echo "reconnects: $reconnects"
echo "reader CPU: ${cpu_start} s at start, ${cpu_end} s at end; ${gone_cpu} s in ${gone_seconds} s while the far end was gone"
echo "reader resident memory: ${rss_start} kB at start, ${rss_end} kB at end"
echo "files: $work"
