#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs the test command (scripts/test.sh) on another Debian release: builds a
# fresh root of that release (scripts/fresh-root.sh), copies this work tree
# into it, and runs the command there under chroot. The root is unmounted and
# removed afterwards, also when a step fails.
# Usage: scripts/release-test.sh [SUITE [COMMAND...]]   (as root)
#   SUITE defaults to trixie (Debian 13), COMMAND to bash scripts/test.sh; it
#   runs in the copied tree, such as: release-test.sh trixie bash scripts/package.sh
# KELM_KEEP_ROOT=DIR builds the root in DIR and keeps it, for looking around.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
suite=${1:-trixie}
shift || true
[ "$#" -gt 0 ] || set -- bash scripts/test.sh

# shellcheck source=scripts/fresh-root.sh
. "$top/scripts/fresh-root.sh"
trap fresh_root_cleanup EXIT
fresh_root "$suite"
copy_tree_into_root src/kelm-utilities

echo "release-test: $* on Debian $suite ($(cat "$root/etc/debian_version"))"
in_root bash -c 'cd /src/kelm-utilities && exec "$@"' release-test "$@"
echo "release-test: Debian $suite passed"
