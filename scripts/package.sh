#!/usr/bin/env bash
# Builds the Debian package in its own folder, build-package/, apart from the
# test build in build/: a release build of the programs alone, hardened,
# stripped, with manual pages. Checks it with lintian, and what software centres
# read of it with appstreamcli, where those are installed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
dir=build-package
extra=()
if command -v ccache >/dev/null; then
  extra+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZ5_BUILD_TESTS=OFF -DZ5_BUILD_BENCH=OFF \
      -DZ5_HARDENING=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/z5-configurator_*.deb)
echo "$deb"
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb"
fi
# What software centres read, as installed: the metadata and the desktop entry it launches.
if command -v appstreamcli >/dev/null; then
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  dpkg-deb -x "$deb" "$tree"
  appstreamcli validate-tree --no-net "$tree"
fi
