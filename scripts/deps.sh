#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only when one
# is missing: apt is not touched when all are in place. Installing needs root,
# as a fresh Debian is set up; a held apt/dpkg lock is waited for, up to
# Z5_APT_LOCK_WAIT seconds (300 by default), instead of failing.
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-base-dev-tools
      libxlsxwriter-dev zlib1g-dev libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth python3
      qt6-translations-l10n
      # What the test command and CI check the package and its desktop metadata with, and the compiler cache.
      lintian desktop-file-utils appstream ccache)
missing=()
for p in "${pkgs[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps.sh: missing packages: ${missing[*]}" >&2
  echo "deps.sh: install them as root: apt-get install ${missing[*]}" >&2
  exit 1
fi

wait_s=${Z5_APT_LOCK_WAIT:-300}
deadline=$((SECONDS + wait_s))
# Runs apt-get; while another apt or dpkg holds its lock, tries again until the deadline.
apt_get() {
  local out status
  while :; do
    out=$(mktemp)
    status=0
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=10 "$@" 2>"$out" || status=$?
    cat "$out" >&2
    if [ "$status" -ne 0 ] && grep -qiE 'could not get lock|unable to (acquire|lock)' "$out" \
         && [ "$SECONDS" -lt "$deadline" ]; then
      rm -f "$out"
      echo "deps.sh: apt is held by another program; waiting (up to ${wait_s} s in all)" >&2
      sleep "${Z5_APT_LOCK_RETRY:-5}"
      continue
    fi
    rm -f "$out"
    return "$status"
  done
}
echo "deps.sh: installing ${missing[*]}" >&2
apt_get update -qq
apt_get install -y -qq "${missing[@]}"
