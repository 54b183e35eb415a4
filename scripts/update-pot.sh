#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Writes po/kelm-utilities.pot, the template every translation is checked
# against, from the string table, the dialog templates and the desktop and
# AppStream entries, with the build's kelm_po. Run after any change of an
# English text; then bring each po/LANG.po up to date (msgmerge, or a
# translation tool) and translate what is new.
# Usage: scripts/update-pot.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target kelm_po -j "$(nproc)"
"$build/po/kelm_po" pot po/kelm-utilities.pot packaging/org.example.kelm_utilities.desktop \
  packaging/org.example.kelm_utilities.metainfo.xml.in
echo "update-pot: po/kelm-utilities.pot written ($(grep -c '^msgctxt' po/kelm-utilities.pot) texts)"
