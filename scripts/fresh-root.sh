# SPDX-License-Identifier: Apache-2.0
# Sourced by the scripts that work in a fresh root of a Debian release
# (release-test.sh, package.sh): fresh_root SUITE builds one with debootstrap
# from Debian's archive (minbase: essential packages and apt, nothing more),
# mounts /proc, /sys, /dev and /dev/pts in it and sets $root; in_root runs a
# command in it under chroot, with a clean environment; copy_tree_into_root
# copies this work tree into it (tracked and untracked files, with the
# repository, without build folders). The root is unmounted and removed when
# the sourcing script exits, also when a step fails; nothing of it is kept
# for a later run but the packages it downloaded, which the next root of the
# release takes from /var/cache/kelm-utilities/apt/. KELM_KEEP_ROOT=DIR builds
# the root in DIR and keeps it, for looking around. Needs root; set top (the
# work tree) first.

fresh_root_mounts=()
root=""

fresh_root_cleanup() {
  local i
  # Innermost first; lazily, so that a process a test left behind cannot
  # keep the root's mounts, and the host's /dev with them, from going.
  for ((i = ${#fresh_root_mounts[@]} - 1; i >= 0; i--)); do
    umount -l "${fresh_root_mounts[i]}" 2>/dev/null || true
  done
  fresh_root_mounts=()
  if [ -n "$root" ] && [ -z "${KELM_KEEP_ROOT:-}" ]; then
    # Never into a file system the root still reaches: /dev, /proc, and the
    # package cache, which is on the same file system as the root and so
    # would not stop rm's --one-file-system.
    if grep -q " $root/" /proc/mounts; then
      echo "fresh root: $root is still mounted on; left in place" >&2
    else
      rm -rf --one-file-system "$root"
    fi
  fi
}

fresh_root() {
  local suite=$1 fs
  [ "$(id -u)" -eq 0 ] || { echo "$0: debootstrap and chroot need root" >&2; exit 1; }
  # Stopped by a signal, the script exits through its EXIT trap too, which
  # unmounts the root.
  trap 'exit 130' INT
  trap 'exit 143' TERM
  bash "$top/scripts/deps.sh" run debootstrap debian-archive-keyring git
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
  echo "fresh root: Debian $suite in $root"
  # The packages downloaded for a root are kept for the next root of the
  # release, in a cache of the project's own (not the host's, whose apt may
  # be busy), so that the archive is asked for each package once; a root
  # built inside a root shares its parent's cache.
  local cache=/var/cache/kelm-utilities/apt/$suite
  mkdir -p "$cache/partial"
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase --cache-dir="$cache" "$suite" "$root" >"$root.debootstrap.log" 2>&1 || {
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
    fresh_root_mounts+=("$root/$fs")
  done
  mkdir -p "$root/var/cache/apt/archives" "$root/var/cache/kelm-utilities"
  mount --bind "$cache" "$root/var/cache/apt/archives"
  fresh_root_mounts+=("$root/var/cache/apt/archives")
  mount --bind /var/cache/kelm-utilities "$root/var/cache/kelm-utilities"
  fresh_root_mounts+=("$root/var/cache/kelm-utilities")
  cp /etc/resolv.conf "$root/etc/resolv.conf"
}

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    CI="${CI:-}" JOBS="${JOBS:-}" DEBIAN_FRONTEND=noninteractive "$@"
}

# The work tree as it stands, changes not yet committed included, in
# $root/$1.
copy_tree_into_root() {
  rm -rf "${root:?}/$1"
  mkdir -p "$(dirname "$root/$1")"
  bash "$top/scripts/copy-tree.sh" "$root/$1"
}
