#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Renders a manual page file with man -l, as man shows it (the preprocessors
# the page asks for, its encoding through preconv, groff's man macros), with
# every warning groff has (-ww: an unknown macro, an unknown escape, a line
# that cannot be broken, ...). The page passes when man ends with 0, groff has
# nothing to say, and the text names the settings file. Prints one line, what
# it found; exits 1 when the page fails.
# Usage: scripts/check-manual-page.sh PAGE
set -euo pipefail
page=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rc=0
# Plain --warnings is groff's -wmac alone, and -wall leaves mac out: w is all.
# Not hyphenated, so that the file name stays whole on its line.
MANWIDTH=80 man --warnings=w --no-hyphenation -E UTF-8 -l "$page" >"$work/text" 2>"$work/warnings" || rc=$?

problems=()
[ "$rc" -eq 0 ] || problems+=("man -l ended with $rc")
[ ! -s "$work/warnings" ] || problems+=("groff warns: $(head -c 300 "$work/warnings" | tr '\n' ' ')")
# grep reads the text from a file to its end. Reading a pipe, grep -q leaves at
# the first match, and the writer, killed by SIGPIPE on its next write, failed
# the pipeline under pipefail: a sound page failed now and then.
grep -q 'KelmUtilitiesSerialize\.dat' "$work/text" ||
  problems+=("its text ($(wc -l <"$work/text") lines) does not name the settings file")

if [ "${#problems[@]}" -eq 0 ]; then
  echo "manual page renders without warnings ($(wc -l <"$work/text") lines)"
else
  echo "manual page: $(IFS=';'; echo "${problems[*]}")"
  exit 1
fi
