#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The package's check of its manual page (scripts/check-manual-page.sh) passes
# the built page, and fails it with a macro or an escape groff does not know,
# or without the settings file's name.
# Usage: tests/packaging/manual_page_test.sh BUILT_PAGE.gz
set -euo pipefail
check="$(dirname "$0")/../../scripts/check-manual-page.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
zcat "$1" >"$work/sound.1"
bash "$check" "$work/sound.1"

# Each broken page: a line put after the first .SH, or sed's change.
broken() {
  sed "$2" "$work/sound.1" >"$work/$1.1"
  if bash "$check" "$work/$1.1"; then
    echo "FAILED: the check passed the page with $1" >&2
    exit 1
  fi
}
broken "an unknown macro" '0,/^\.SH/s/^\.SH.*/&\n.XX unknown/'
broken "an unknown escape" '0,/^\.SH/s/^\.SH.*/&\nan \\qunknown escape/'
broken "no settings file" 's/KelmUtilitiesSerialize/Settings/g'
echo "manual page check: passes the page, fails each broken one"
