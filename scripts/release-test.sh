#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs the test command (scripts/test.sh) on another Debian release: builds a
# fresh root of that release with debootstrap from Debian's archive, copies
# this work tree into it (tracked and untracked files, with the repository,
# without build folders), and runs the command there under chroot, with
# /proc, /sys, /dev and /dev/pts mounted. The root is unmounted and removed
# afterwards, also when a step fails; nothing of it is kept for a later run.
# Usage: scripts/release-test.sh [SUITE]   (default trixie, Debian 13; as root)
# KELM_KEEP_ROOT=DIR builds the root in DIR and keeps it, for looking around.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
suite=${1:-trixie}
[ "$(id -u)" -eq 0 ] || { echo "$0: debootstrap and chroot need root" >&2; exit 1; }

bash "$top/scripts/deps.sh" run debootstrap debian-archive-keyring

if [ -n "${KELM_KEEP_ROOT:-}" ]; then
  root=$KELM_KEEP_ROOT
  mkdir -p "$root"
else
  root=$(mktemp -d /var/tmp/kelm-"$suite".XXXXXXXX)
fi
# The root's own folder is the release's "/": open to every user, as a
# root file system is (mktemp makes it its creator's alone), so that the
# tests that save as an unprivileged user reach their folders.
chmod 0755 "$root"
mounts=()
cleanup() {
  local status=$? i
  # Innermost first; lazily, so that a process the test left behind cannot
  # keep the root's mounts, and the host's /dev with them, from going.
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount -l "${mounts[i]}" 2>/dev/null || true
  done
  if [ -z "${KELM_KEEP_ROOT:-}" ]; then
    # Never into a file system the root still reaches: /dev, /proc.
    rm -rf --one-file-system "$root"
  fi
  exit "$status"
}
trap cleanup EXIT

echo "release-test: a fresh Debian $suite root in $root"
if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase "$suite" "$root" >"$root.debootstrap.log" 2>&1 || {
    tail -20 "$root.debootstrap.log" >&2
    rm -f "$root.debootstrap.log"
    exit 1
  }
  rm -f "$root.debootstrap.log"
fi

for fs in proc sys dev dev/pts; do
  mkdir -p "$root/$fs"
  case $fs in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sysfs "$root/sys" ;;
    *) mount --bind "/$fs" "$root/$fs" ;;
  esac
  mounts+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

# The work tree as it stands, changes not yet committed included.
src=$root/src/kelm-utilities
rm -rf "$src"
bash "$top/scripts/copy-tree.sh" "$src"

echo "release-test: bash scripts/test.sh on Debian $suite ($(cat "$root/etc/debian_version"))"
chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  CI="${CI:-}" JOBS="${JOBS:-}" \
  bash -c 'cd /src/kelm-utilities && bash scripts/test.sh'
echo "release-test: Debian $suite passed"
