#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package the way Debian builds its own, from the source
# package (debian/), and tests it the way Debian tests its own:
#   1. a fresh root of the running release (scripts/fresh-root.sh), where only
#      build-essential and the source package's Build-Depends are installed;
#   2. dpkg-buildpackage -us -uc there: the source package, the binary
#      package and its debug symbols;
#   3. lintian --pedantic on the .changes (source and binary packages): any
#      tag, down to the pedantic ones, fails;
#   4. autopkgtest on that root (its null runner), with the tests of the
#      source package (debian/tests/) against the package installed;
#   5. on Debian 12, reprotest: two more builds from the source package, the
#      second with the build path, the time, the umask, the locale, the home
#      folder and the number of jobs varied, must give the same bytes
#      (KELM_REPROTEST=1 runs it on any release, KELM_REPROTEST=0 skips it);
#   6. the package's files, fields and program, unpacked and moved
#      (scripts/check-package.sh).
# The source and binary packages, the .changes and the .buildinfo are left
# in build-pkg/package/. As root (debootstrap and chroot need it); Debian's
# archive must be reachable. Prints how long each step took.
# Usage: scripts/package.sh   (JOBS=n to limit the build's parallel jobs)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${JOBS:-$(nproc)}"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
out=$top/build-pkg/package

# shellcheck source=scripts/fresh-root.sh
. "$top/scripts/fresh-root.sh"
trap fresh_root_cleanup EXIT

started=$SECONDS
step_started=$SECONDS
took() {
  echo "package: $1 took $((SECONDS - step_started)) s"
  step_started=$SECONDS
}

fresh_root "$suite"
copy_tree_into_root src/kelm-utilities
# What an earlier run left in a root that was kept (KELM_KEEP_ROOT).
rm -rf "$root/src/autopkgtest" "$root/src/reprotest" "$root/src/reprotest-source"
version=$(sed -n '1s/^kelm-utilities (\([^)]*\)) .*/\1/p' "$top/debian/changelog")
arch=$(dpkg --print-architecture)
changes=/src/kelm-utilities_${version}_${arch}.changes
took "the fresh root of Debian $suite ($(cat "$root/etc/debian_version"))"

# apt installs in the root nothing that a package only recommends, as a
# Debian build daemon does not.
apt_install() {
  in_root apt-get install -y --no-install-recommends -o Dpkg::Use-Pty=0 "$@" >"$root/apt.log" 2>&1 ||
    { tail -20 "$root/apt.log" >&2; exit 1; }
}
# apt-get update only warns when it cannot fetch or verify an index, and goes
# on with what it had; here that is a failure.
in_root apt-get update -qq >"$root/apt.log" 2>&1 || true
if grep -q '^[WE]:' "$root/apt.log"; then
  cat "$root/apt.log" >&2
  exit 1
fi
apt_install build-essential
in_root sh -c 'cd /src/kelm-utilities && apt-get build-dep -y --no-install-recommends -o Dpkg::Use-Pty=0 ./' \
  >"$root/apt.log" 2>&1 || { tail -20 "$root/apt.log" >&2; exit 1; }
took "installing build-essential and the Build-Depends ($(in_root dpkg-query -W -f '.\n' | wc -l) packages in the root)"

in_root sh -c "cd /src/kelm-utilities && dpkg-buildpackage -us -uc -J$jobs" >"$root/build.log" 2>&1 ||
  { tail -40 "$root/build.log" >&2; exit 1; }
took "dpkg-buildpackage -us -uc"
rm -rf "$out"
mkdir -p "$out"
cp "$root"/src/kelm-utilities*_"$version"[._]* "$out/"
(cd "$out" && ls -l | sed 1d | awk '{print "  " $5 " bytes  " $9}')

# lintian is installed after the build, so that the build saw nothing but
# its Build-Depends. Tags down to the pedantic ones are shown and fail;
# overrides, each with its reason, are in debian/*lintian-overrides.
apt_install lintian
lint_rc=0
# What it says on standard error (such as that it runs as root) is shown,
# and is no tag.
lint_out=$(in_root lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$changes" \
  2>"$root/lintian.err") || lint_rc=$?
sed 's/^/  lintian: /' "$root/lintian.err"
echo "lintian $(in_root lintian --version | sed 's/^Lintian v//') --pedantic on ${changes#/src/}:"
echo "${lint_out:-(nothing to report)}" | sed 's/^/  /'
# The one note accepted: Debian 12's lintian finds the source's override for
# the Standards-Version, which only Debian 13's needs, unused
# (debian/source/lintian-overrides says why).
accepted='^I: kelm-utilities source: unused-override out-of-date-standards-version '
# Lines that are no tag (N:, lintian's count of overrides) are shown only.
unaccepted=$(printf '%s\n' "$lint_out" | grep -E '^[A-Z]: ' | grep -v -e "$accepted" -e '^N: ' || true)
if [ -n "$unaccepted" ] || { [ "$lint_rc" -ne 0 ] && [ -z "$lint_out" ]; }; then
  echo "package: lintian ended with $lint_rc" >&2
  exit 1
fi
took "lintian"

# The tests of the source package, taken from the .dsc, against the package
# installed from the .deb, in the root itself (the null runner); autopkgtest
# installs each test's Depends.
apt_install autopkgtest
in_root autopkgtest --output-dir /src/autopkgtest "/src/kelm-utilities_${version}_${arch}.deb" \
  "/src/kelm-utilities_${version}.dsc" -- null
took "autopkgtest"

reprotest=${KELM_REPROTEST:-}
[ -n "$reprotest" ] || { [ "$suite" = bookworm ] && reprotest=1 || reprotest=0; }
if [ "$reprotest" = 1 ]; then
  # Every variation reprotest knows but one: user_group, which builds as
  # other users through sudo, and needs accounts and sudo rules that a
  # fresh root has not. The time through faketime, the file order through
  # disorderfs (a FUSE file system), the host and domain names in a UTS
  # namespace of their own, made through sudo: a process in a chroot may
  # not make the user namespace reprotest would make without it.
  variations=+all,-user_group,domain_host.use_sudo=1
  apt_install reprotest faketime disorderfs fuse3 sudo
  in_root dpkg-source -x "/src/kelm-utilities_${version}.dsc" /src/reprotest-source >/dev/null
  in_root sh -c "cd /src/reprotest-source && reprotest --no-diffoscope \
    --vary=$variations --store-dir=/src/reprotest . '../*.deb'"
  took "reprotest ($variations)"
else
  echo "skipped: reprotest (on Debian 12 only; KELM_REPROTEST=1 runs it here)"
fi

# The package's files and program, outside the root; lintian has seen it.
KELM_PACKAGE_LINTIAN=0 KELM_PACKAGE_INSTALL=0 \
  bash "$top/scripts/check-package.sh" "$out/kelm-utilities_${version}_${arch}.deb"
took "checking the package's files"
echo "package: Debian $suite passed in $((SECONDS - started)) s"
