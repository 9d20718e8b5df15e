#!/usr/bin/env bash
# Tests the Windows build (scripts/windows.sh) under Wine:
#  1. the core test programs (.exe) that need no pseudo-terminal, and the Windows port's own
#     (COM6 a pseudo-terminal nobody talks on, COM7 one that sends back what it gets);
#  2. end to end: z5-sim (Linux) on a pseudo-terminal that Wine's COM5 points at, driven by
#     z5ctl.exe through download, read-block, trend --out page.xlsx and watch --count 5. The
#     same commands run again with the Linux z5ctl on a fresh simulator; the two timelines
#     must hold the same requests byte for byte and replies of the same kind and length; the
#     download's frames within ±5 ms of their Linux offsets (Z5_TIMING_TOLERANCE_MS; more on a
#     busy machine) and the trend page read within 1.15 x its wire time;
#  3. the time between the requests of `watch --every 50`, Linux and Wine, told (not checked);
#  4. the installer (scripts/windows-msi.sh): installed silently, the installed programs
#     started, removed, and nothing of it left behind.
# Needs: wine (wine64), msitools, python3; the Linux z5ctl and z5-sim are built into build/ if missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
win_build=$root/build-windows
dist=$root/dist/z5-configurator-windows-x64
linux_build=${Z5_LINUX_BUILD:-$root/build}
[ -x "$dist/z5ctl.exe" ] || { echo "no Windows build: run scripts/windows.sh first" >&2; exit 2; }

work=$(mktemp -d /tmp/z5-wine.XXXXXX)
export WINEPREFIX=${WINEPREFIX:-${Z5_WINDOWS_CACHE:-$HOME/.cache/z5-windows}/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
log() { printf '[windows-test] %s\n' "$*" >&2; }
failures=0
fail() { log "FAIL: $*"; failures=$((failures + 1)); }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log "creating the Wine prefix $WINEPREFIX (once)"
  wineboot -i >/dev/null 2>&1 || true
fi
wineserver -w 2>/dev/null || true
dist_w=$(winepath -w "$dist" 2>/dev/null)
# The test programs find Qt's and the compiler's DLLs and the plugins in the dist folder.
export WINEPATH=$dist_w QT_PLUGIN_PATH=$dist_w QT_QPA_PLATFORM=offscreen
[ -x "$linux_build/apps/z5-sim/z5-sim" ] && [ -x "$linux_build/apps/z5ctl/z5ctl" ] || {
  [ -f "$linux_build/build.ninja" ] || cmake -S . -B "$linux_build" -G Ninja >/dev/null
  cmake --build "$linux_build" --target z5-sim z5ctl -j "${JOBS:-2}" >/dev/null
}
sim=$linux_build/apps/z5-sim/z5-sim
z5ctl_linux=$linux_build/apps/z5ctl/z5ctl

# Wine's COMn stands for a device named under HKLM\Software\Wine\Ports; its mount manager
# reads them when Wine starts, links dosdevices/comN and lists the port in the registry's
# HARDWARE\DEVICEMAP\SERIALCOMM, as Windows does for a plugged-in adapter.
map_port() {
  wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /d "$2" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  ln -sfn "$2" "$WINEPREFIX/dosdevices/${1,,}"
}

# A pseudo-terminal nobody talks on, for the port's own tests (COM6).
python3 -c 'import os, pty, sys, time
m, s = pty.openpty(); print(os.ttyname(s), flush=True); time.sleep(3600)' > "$work/quiet" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/quiet" ] && break; sleep 0.1; done
map_port COM6 "$(cat "$work/quiet")"
# And one whose far end sends back whatever it gets (COM7), for arrivals and long writes.
python3 -c 'import os, pty, tty
m, s = pty.openpty(); tty.setraw(s); print(os.ttyname(s), flush=True)
while True:
    data = os.read(m, 65536)
    while data: data = data[os.write(m, data):]' > "$work/echo" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/echo" ] && break; sleep 0.1; done
map_port COM7 "$(cat "$work/echo")"

# --- 1. Unit tests -----------------------------------------------------------------
# A port the registry lists, as Wine's reg.exe sees it (Wine lists only serial devices
# it found itself, such as COM1 on /dev/ttyS0, not a pseudo-terminal linked in later).
listed=$(wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null | tr -d '\r' |
  awk '$2 == "REG_SZ" { print $3; exit }')
export Z5_TEST_LISTED_COM=$listed
start=$(date +%s)
# The tests that expect Linux device names (/dev/ttyS<n-1> defaults, /dev/serial/by-id links,
# /dev/null standing for an adapter) are left out: on Windows COMn is the port itself, which
# test_windows covers.
linux_names=-Ports/MappingRule.*:PortMapping.ChoicesAreKeptInTheUserSettingsAndOnlyThere:PortMapping.PortsAreGivenByNumberNameOrPath
linux_names+=:PortSettings.UserGivenDevicesAreComNamesOrPaths:LinkPort.TheOpenSequenceOpensTheChosenPortOnceAndThenReusesIt
linux_names+=:SerialDevices.AStableNameFindsTheDeviceItLinksTo:PortSettings.ComPortsMapToTheEnvironmentOrToTtyS
linux_names+=:ParameterFileBounds.AnEndlessDeviceIsRefused:ConsoleCore.TheRefreshGoesOnWhenTheUnpluggedAdapterIsBack
linux_names+=:LineAdapter.AnAdapterThatWentAwayIsOpenedAgainOnceItIsBackAndWritesAreNotResumed
programs=0 passed=0
for exe in "$win_build"/tests/*/test_*.exe; do
  name=$(basename "$exe" .exe)
  programs=$((programs + 1))
  case $name in
    # The window tests run class by class as on Linux, without GoogleTest's options.
    test_ui_*) args=() ;;
    *) args=(--gtest_brief=1 "--gtest_filter=$linux_names") ;;
  esac
  if (cd "$root" && Z5_TEST_COM=COM6 Z5_TEST_ECHO_COM=COM7 wine "$exe" "${args[@]}" > "$work/$name.log" 2>&1); then
    passed=$((passed + 1))
    log "$name: $(grep -aE '^\[  PASSED  \]|^Totals:' "$work/$name.log" | tail -n1 | tr -d '\r')"
  else
    fail "$name"; tail -n 30 "$work/$name.log" >&2
  fi
done
log "$passed of $programs test programs passed under Wine"
log "unit tests under Wine: $(( $(date +%s) - start )) s"

# --- 2. End to end -----------------------------------------------------------------
# Runs the four commands against a fresh simulator; $1 names the run, the rest is the
# z5ctl command line up to the verb (the port is given as PORT and replaced).
run_session() {
  local tag=$1 port=$2; shift 2
  local dir=$work/$tag
  mkdir -p "$dir"
  "$sim" --link "$dir/tty" --timeline "$dir/timeline.json" --line-speed > "$dir/sim.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "$dir/tty" ] && break; sleep 0.1; done
  if [ "$port" = COM5 ]; then map_port COM5 "$(readlink -f "$dir/tty")"; else port=$dir/tty; fi
  local step=0
  : > "$dir/marks"
  while read -r verb rest; do
    step=$((step + 1))
    local t0; t0=$(date +%s%N)
    # shellcheck disable=SC2086
    if (cd "$dir" && "$@" $verb --port "$port" $rest < /dev/null > "out$step.txt" 2> "err$step.txt"); then code=0; else code=$?; fi
    printf '%s %s %s %s\n' "$step" "$verb" "$code" "$(( ($(date +%s%N) - t0) / 1000000 ))" >> "$dir/marks"
    printf '%s\n' "$(wc -l < "$dir/timeline.json")" >> "$dir/bounds"
  done <<EOF
download $root/examples/boiler.net
read-block --block 1
trend --block U11 --out page.xlsx
watch --block U1 --count 5
EOF
}

log "end to end: Linux z5ctl on a fresh z5-sim"
run_session linux path "$z5ctl_linux"
log "end to end: z5ctl.exe under Wine on COM5"
run_session wine COM5 wine "$dist/z5ctl.exe"

python3 - "$work/linux" "$work/wine" "${Z5_TIMING_TOLERANCE_MS:-5}" <<'PY' || fail "timelines differ"
import json, sys
linux, wine, tolerance = sys.argv[1], sys.argv[2], int(sys.argv[3])
def load(d):
    lines = open(d + "/timeline.json", encoding="utf-8").read().splitlines()
    bounds = [int(x) for x in open(d + "/bounds").read().split()]
    marks = [l.split() for l in open(d + "/marks").read().splitlines()]
    return lines, bounds, marks
L, lb, lm = load(linux); W, wb, wm = load(wine)
bad = 0
for (ls, lv, lc, lt), (ws, wv, wc, wt) in zip(lm, wm):
    print(f"{lv:10s} exit linux {lc} wine {wc}; wall time linux {lt} ms, wine {wt} ms (Wine start included)")
    if lc != wc: bad += 1; print(f"  exit codes differ")
if lb != wb:
    print(f"timeline lengths per command differ: linux {lb}, wine {wb}"); bad += 1
start = 0
for n, end in enumerate(lb):
    ls, ws = L[start:end], W[start:end]
    worst = 0
    values = 0
    base = (json.loads(ls[0])["ms"], json.loads(ws[0])["ms"]) if ls and ws else (0, 0)
    reopened = set()
    if n == 0:
        # The tables the Linux z5ctl sent right after closing and opening the port again.
        out = open(linux + "/err1.txt", encoding="utf-8").read().splitlines()
        after = [int(out[k + 1].split()[3]) for k in range(len(out) - 1)
                 if out[k].endswith("port closed") and out[k + 1].split()[2:3] == ["table"]]
        reopened = {k for k, x in enumerate(ls) if json.loads(x).get("table") in after
                    and json.loads(x).get("what") == "header"}
    for i, (a, b) in enumerate(zip(ls, ws)):
        ja, jb = json.loads(a), json.loads(b)
        ta, tb = ja.pop("ms", None), jb.pop("ms", None)
        # What z5ctl sent must match byte for byte. The replies carry the simulated
        # plant's values and the archive's clock at that moment, so only their kind
        # and length must match.
        if ja.get("dir") == "out" and jb.get("dir") == "out":
            values += ja.get("hex") != jb.get("hex")
            ja["hex"] = len(ja.get("hex", "").split()); jb["hex"] = len(jb.get("hex", "").split())
        if ja != jb:
            bad += 1; print(f"  command {n+1} frame {i}: differs\n    linux {a[:160]}\n    wine  {b[:160]}"); break
        # z5-sim pauses in 10 ms steps while the port is closed from Linux, which it does
        # not see from Wine: after a close the offsets count from the first frame again.
        if n == 0 and i in reopened: base = (ta, tb)
        if ta is not None and tb is not None:
            off = abs((ta - base[0]) - (tb - base[1]))
            worst = max(worst, off)
    print(f"command {n+1} ({lm[n][1]}): {end - start} frames, requests equal byte for byte, {values} replies with "
          f"other values; worst offset difference {worst} ms")
    if lm[n][1] == "trend" and ws:
        # The page read against the bytes' own line time at 115200 bit/s, 10 bits a byte.
        frames = [json.loads(x) for x in ws]
        wire = sum(len(f.get("hex", "").split()) for f in frames) * 10 / 115.2
        turn = sum(f.get("delayMs", 0) for f in frames)
        span = frames[-1]["ms"] - frames[0]["ms"] + (len(frames[-1].get("hex", "").split()) * 10 / 115.2)
        ratio = span / (wire + turn)
        print(f"  trend under Wine: {span:.0f} ms for {wire:.0f} ms of line time and {turn} ms of controller "
              f"turnaround: {ratio:.2f} x")
        if ratio > 1.15: bad += 1; print("  slower than 1.15 x the wire time")
    # The download keeps its schedule; the reads' frames follow their replies.
    if lm[n][1] == "download" and worst > tolerance: bad += 1; print(f"  over the tolerance of {tolerance} ms")
    start = end
sys.exit(1 if bad else 0)
PY
[ -s "$work/wine/page.xlsx" ] || fail "page.xlsx not written under Wine"

# The simulated plant runs on between the runs, so their pages hold other values; the same
# stored pages, exported by both programs, must come out the same: every cell of the workbook
# and every value printed in the CSV.
log "end to end: one record exported by z5ctl and by z5ctl.exe"
"$z5ctl_linux" archive --port "$work/linux/tty" --block U11 --pages 1-2 --record "$work/record.sqlite" \
  > "$work/archive.out" 2>&1 || fail "archive read for the export comparison: $(tail -n 2 "$work/archive.out")"
for kind in xlsx csv; do
  "$z5ctl_linux" export --record "$work/record.sqlite" --block U11 --out "$work/linux-export.$kind" ||
    fail "Linux export .$kind"
  (cd "$work" && wine "$dist/z5ctl.exe" export --record record.sqlite --block U11 --out "wine-export.$kind") \
    > /dev/null 2>&1 || fail "z5ctl.exe export .$kind"
done
cmp -s "$work/linux-export.csv" "$work/wine-export.csv" || fail "the CSV files differ: $(diff "$work/linux-export.csv" "$work/wine-export.csv" | head -n 4)"
python3 - "$work/linux-export.xlsx" "$work/wine-export.xlsx" "$work/linux/page.xlsx" "$work/wine/page.xlsx" <<'PY' || fail "the workbooks differ"
import re, sys, zipfile
import xml.etree.ElementTree as ET
ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
def cells(path):
    z = zipfile.ZipFile(path)
    shared = []
    if "xl/sharedStrings.xml" in z.namelist():
        for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", ns):
            shared.append("".join(t.text or "" for t in si.iter("{%s}t" % ns["m"])))
    out = {}
    for c in ET.fromstring(z.read("xl/worksheets/sheet1.xml")).iter("{%s}c" % ns["m"]):
        v = c.find("m:v", ns)
        text = v.text if v is not None else ""
        if c.get("t") == "s": text = shared[int(text)]
        out[c.get("r")] = (text, c.get("s"))
    return out
bad = 0
linux, wine = cells(sys.argv[1]), cells(sys.argv[2])
print(f"export: {len(linux)} cells from Linux, {len(wine)} from Wine")
for ref in sorted(set(linux) | set(wine)):
    if linux.get(ref) != wine.get(ref):
        bad += 1
        if bad <= 5: print(f"  {ref}: linux {linux.get(ref)} wine {wine.get(ref)}")
# The pages read in the two runs: the same shape, headings and styles, other values.
lp, wp = cells(sys.argv[3]), cells(sys.argv[4])
shape = lambda c: sorted(c)
if shape(lp) != shape(wp): bad += 1; print(f"page: {len(lp)} cells from Linux, {len(wp)} from Wine")
heads = [r for r in lp if re.fullmatch(r"[A-Z]+1", r)]
for r in heads:
    if lp[r] != wp.get(r): bad += 1; print(f"  page heading {r}: linux {lp[r]} wine {wp.get(r)}")
if any(lp[r][1] != wp.get(r, (None, None))[1] for r in lp): bad += 1; print("  page cell styles differ")
sys.exit(1 if bad else 0)
PY


# How quickly a reply is taken: `watch --every 50` asks again as soon as the reply is in and
# 50 ms have passed since the last request, so the time between requests shows whether the
# port tells arrivals (about 50 ms) or the reader finds the reply only at its poll (150 ms).
# Told, not checked: a busy machine stretches it.
cadence() {
  local tag=$1 port=$2; shift 2
  local dir=$work/cadence-$tag
  mkdir -p "$dir"
  "$sim" --link "$dir/tty" --line-speed > "$dir/sim.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -e "$dir/tty" ] && break; sleep 0.1; done
  if [ "$port" = COM5 ]; then map_port COM5 "$(readlink -f "$dir/tty")"; else port=$dir/tty; fi
  (cd "$dir" && "$@" watch --port "$port" --block U1 --every 50 --count 41 --trace trace.txt < /dev/null > rows.txt 2> err.txt) ||
    fail "watch --every 50 ($tag)"
  python3 - "$dir/trace.txt" "$tag" <<'PY' >&2 || true
import statistics, sys
sent = [int(l.split("\t")[0]) for l in open(sys.argv[1], encoding="utf-8") if l.split("\t")[1:2] == ["→"]]
gaps = [b - a for a, b in zip(sent, sent[1:])]
if gaps:
    print(f"[windows-test] watch --every 50, {sys.argv[2]}: {len(gaps)} intervals between requests, median "
          f"{statistics.median(gaps):.0f} ms, {min(gaps)} to {max(gaps)} ms")
PY
}
cadence linux path "$z5ctl_linux"
cadence wine COM5 wine "$dist/z5ctl.exe"
# The runs stay for a look: timelines, outputs and the workbook.
rm -rf "$win_build/wine-test" && cp -r "$work" "$win_build/wine-test" 2>/dev/null || true
cat "$work/wine/err"*.txt >&2 || true

# --- 4. The installer ------------------------------------------------------------------
# Installed silently for all users, the installed programs started, then removed: nothing of
# it may stay behind (files, the Start-menu entry, the uninstall entry, the .scd file type).
msi=$(ls "$root"/dist/z5-configurator-*-x64.msi 2>/dev/null | tail -n1)
if [ -z "$msi" ]; then
  fail "no installer: run scripts/windows-msi.sh first"
else
  log "installer: $(basename "$msi")"
  product=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }')
  installed="$WINEPREFIX/drive_c/Program Files/Z5 Configurator"
  uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
  shortcuts() { find "$WINEPREFIX/drive_c" -name 'Конфигуратор Z5.lnk' 2>/dev/null; }
  # The 64-bit view, where a 64-bit package registers its uninstall entry.
  has_key() { wine reg query "$1" /reg:64 >/dev/null 2>&1; }
  msi_w=$(winepath -w "$msi")
  wine msiexec /i "$msi_w" /qn || fail "msiexec /i ended with $?"
  [ -f "$installed/z5-configurator.exe" ] || fail "z5-configurator.exe not installed"
  [ -f "$installed/licenses/Qt.txt" ] || fail "the licences not installed"
  [ -n "$(shortcuts)" ] || fail "no Start-menu entry"
  has_key "$uninstall_key" || fail "no uninstall entry $uninstall_key"
  wine reg query 'HKLM\Software\Classes\Z5.ScreenFile\shell\open\command' 2>/dev/null | grep -q 'z5-configurator.exe' ||
    fail ".scd files do not open in the configurator"
  version=$(wine "$installed/z5ctl.exe" --version 2>/dev/null | tr -d '\r')
  [[ $version == "z5ctl "* ]] || fail "the installed z5ctl.exe did not answer --version ($version)"
  # The installed configurator starts and keeps running until it is ended.
  (cd "$work" && wine "$installed/z5-configurator.exe" > configurator.log 2>&1) &
  configurator=$!
  sleep 10
  if kill -0 "$configurator" 2>/dev/null; then
    log "the installed configurator started"
    wineserver -k 2>/dev/null || true
  else
    fail "the installed configurator ended at once: $(tail -n 3 "$work/configurator.log")"
  fi
  wait "$configurator" 2>/dev/null || true
  wine msiexec /x "$msi_w" /qn || fail "msiexec /x ended with $?"
  [ ! -e "$installed" ] || fail "left behind: $(find "$installed" | head -n 5)"
  [ -z "$(shortcuts)" ] || fail "Start-menu entry left behind"
  for key in "$uninstall_key" 'HKLM\Software\Classes\.scd' 'HKLM\Software\Classes\Z5.ScreenFile' \
    'HKLM\Software\Z5 Configurator developers'; do
    ! has_key "$key" || fail "registry key left behind: $key"
  done
fi

if [ "$failures" -gt 0 ]; then log "$failures failure(s)"; exit 1; fi
log "all passed"
