#!/usr/bin/env bash
# Builds and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
./build/apps/z5ctl/z5ctl import examples/boiler.net
