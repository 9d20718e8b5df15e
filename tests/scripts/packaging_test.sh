#!/usr/bin/env bash
# The desktop entry and the software centres' metadata as the package installs
# them: both pass their validators, name each other, and the metadata's pictures
# and releases are the README's pictures and the changelog's entries.
set -uo pipefail
src=$1
packaging=$src/packaging
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

desktop=$(ls "$packaging"/*.desktop)
metainfo=$(ls "$packaging"/*.metainfo.xml)
id=$(basename "$desktop" .desktop)

desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate $metainfo"

[ "$(basename "$metainfo" .metainfo.xml)" = "$id" ] || fail "the metadata file is not named $id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metadata launches no $id.desktop"
grep -q 'setDesktopFileName(QStringLiteral("'"$id"'"))' "$src/apps/z5-configurator/main.cpp" ||
  fail "the configurator does not name its desktop entry $id"
grep -qx 'Name=Z5 Configurator' "$desktop" || fail "the desktop entry's English name"
grep -qx 'Name\[ru\]=Конфигуратор Z5' "$desktop" || fail "the desktop entry's Russian name"

# Each screenshot is a picture the README shows.
shots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|.*/docs/\([^<]*\)</image>|\1|')
[ -n "$shots" ] || fail "no screenshots"
for shot in $shots; do
  [ -f "$src/docs/$shot" ] || fail "screenshot docs/$shot is not in docs/"
  grep -q "(docs/$shot)" "$src/README.md" || fail "screenshot docs/$shot is not in the README"
done

# The releases are the changelog's versions with their dates, newest first.
from_changelog=$(awk '/^z5-configurator \(/ { v = $2; gsub(/[()]/, "", v) }
  /^ -- / { cmd = "date -u -d \"" substr($0, index($0, ">  ") + 3) "\" +%F"; cmd | getline d; close(cmd); print v, d }' \
  "$packaging/changelog")
from_metainfo=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | sed 's/.*version="\([^"]*\)" date="\([^"]*\)"/\1 \2/')
[ -n "$from_changelog" ] && [ "$from_changelog" = "$from_metainfo" ] ||
  fail "releases differ: changelog [$from_changelog], metadata [$from_metainfo]"

[ "$failures" -eq 0 ] && echo "ok   packaging metadata"
exit $((failures > 0))
