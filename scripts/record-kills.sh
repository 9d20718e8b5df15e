#!/usr/bin/env bash
# Kills programs at random moments while they write into a station record, KILLS
# times (100 by default), then checks the record: every entry unfinished or
# complete with all its steps, none half-written. With --z5ctl the programs are
# real `z5ctl download` runs into z5-sim (a download takes 6.2 s, so 100 kills
# take about six minutes); without it a writer on a virtual clock (seconds).
# Not part of CI.
#   scripts/record-kills.sh [--z5ctl] [KILLS]      (Z5_BUILD=build by default)
set -euo pipefail
cd "$(dirname "$0")/.."
real=0
if [ "${1:-}" = "--z5ctl" ]; then real=1; shift; fi
kills=${1:-100}
build=${Z5_BUILD:-build}
test=$build/tests/record/test_record
cmake --build "$build" -j2 --target test_record >/dev/null
Z5_RECORD_KILLS=$kills Z5_RECORD_KILL_Z5CTL=$real "$test" --gtest_filter='KillDuringWrite.*'
