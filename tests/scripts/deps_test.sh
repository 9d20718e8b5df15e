#!/usr/bin/env bash
# scripts/deps.sh against a fake dpkg-query, apt-get and id: apt runs only when a
# package is missing, waits for a held lock within its bound, and never assumes sudo.
set -uo pipefail
deps=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# dpkg-query: every real package is installed except those in FAKE_MISSING; a
# virtual name (libqt6serialport6-dev on Debian 12) is never installed.
cat > "$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
name=${!#}
[ "$name" = libqt6serialport6-dev ] && exit 1
for m in ${FAKE_MISSING:-}; do [ "$m" = "$name" ] && { echo -n 'unknown ok not-installed'; exit 0; }; done
echo -n 'install ok installed'
FAKE
# apt-get: records each call; fails with apt's lock message while FAKE_LOCKED_CALLS lasts.
cat > "$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "$*" >> "$FAKE_LOG"
n=$(cat "$FAKE_LOCK_COUNT" 2>/dev/null || echo 0)
if [ "$n" -lt "${FAKE_LOCKED_CALLS:-0}" ]; then
  echo $((n + 1)) > "$FAKE_LOCK_COUNT"
  echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)" >&2
  exit 100
fi
exit 0
FAKE
cat > "$work/bin/id" <<'FAKE'
#!/usr/bin/env bash
echo "${FAKE_UID:-0}"
FAKE
chmod +x "$work/bin/"*

failures=0
# case NAME EXPECTED_STATUS EXPECTED_APT_CALLS [ENV...]: runs deps.sh with ENV.
case_() {
  local name=$1 want_status=$2 want_calls=$3
  shift 3
  : > "$work/log"; rm -f "$work/count"
  local status=0
  env PATH="$work/bin:$PATH" FAKE_LOG="$work/log" FAKE_LOCK_COUNT="$work/count" Z5_APT_LOCK_RETRY=0 "$@" \
    bash "$deps" > "$work/out" 2>&1 || status=$?
  local calls
  calls=$(wc -l < "$work/log")
  if [ "$status" -ne "$want_status" ] || [ "$calls" -ne "$want_calls" ]; then
    echo "FAIL $name: status $status (want $want_status), apt-get calls $calls (want $want_calls)"
    sed 's/^/    /' "$work/out" "$work/log"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

case_ all_installed_no_apt 0 0
case_ one_missing_installs_it 0 2 FAKE_MISSING=qt6-serialport-dev
grep -q 'install -y -qq qt6-serialport-dev$' "$work/log" || { echo "FAIL only the missing package installed"; failures=$((failures + 1)); }
case_ held_lock_is_waited_for 0 4 FAKE_MISSING=cmake FAKE_LOCKED_CALLS=2
case_ held_lock_wait_is_bounded 100 1 FAKE_MISSING=cmake FAKE_LOCKED_CALLS=1000000 Z5_APT_LOCK_WAIT=0
case_ not_root_says_so_without_sudo 1 0 FAKE_MISSING="cmake xvfb" FAKE_UID=1000
grep -q 'as root: apt-get install cmake xvfb' "$work/out" || { echo "FAIL not root: the message names the packages"; failures=$((failures + 1)); }
grep -q sudo "$deps" && { echo "FAIL deps.sh mentions sudo"; failures=$((failures + 1)); }

exit $((failures > 0))
