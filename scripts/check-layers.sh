#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Fails when an include crosses a layer the wrong way:
#   - Qt headers anywhere but framework/qt/ (and the build-time icon maker
#     in packaging/, and the plain-Qt baselines in bench/baseline/ and
#     tests/desktop/baseline/);
#   - the dialog layer (framework/) including the program (app/, settings/,
#     units/, otherapps/, res/, tracker/);
#   - inside framework/: core/ including any other folder, dialogs/ including
#     qt/ or testing/, testing/ including qt/.
# Usage: scripts/check-layers.sh [ROOT]   (default: the repository)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

failed=0
report() {
  echo "layer check: $1" >&2
  failed=1
}

sources=$(find . -path ./build\* -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)

for f in $sources; do
  includes=$(grep -E '^[[:space:]]*#[[:space:]]*include' "$f" || true)
  [ -z "$includes" ] && continue
  case "$f" in
    # The icon maker is a build-time tool that draws the program's icon with
    # Qt; the benchmarks' baselines are plain Qt programs, measured against
    # the program, and so is the dialog a screen reader's speech of the
    # program is compared with.
    framework/qt/* | packaging/* | bench/baseline/* | tests/desktop/baseline/*) ;;
    *)
      if echo "$includes" | grep -Eq '#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|Qt[A-Za-z]*/)'; then
        report "$f includes Qt, which only framework/qt/ may"
      fi
      ;;
  esac
  case "$f" in
    framework/*)
      if echo "$includes" | grep -Eq '"(app|settings|units|otherapps|res|tracker)/'; then
        report "$f includes the program; the dialog layer knows no program"
      fi
      ;;
  esac
  case "$f" in
    framework/core/*)
      if echo "$includes" | grep -Eq '"framework/(dialogs|qt|testing)/'; then
        report "$f is GUI-free and may include only framework/core/"
      fi
      ;;
    framework/dialogs/*)
      if echo "$includes" | grep -Eq '"framework/(qt|testing)/'; then
        report "$f is a public header and may not include the backend or the test seams"
      fi
      ;;
    framework/testing/*)
      if echo "$includes" | grep -Eq '"framework/qt/'; then
        report "$f may not include the backend"
      fi
      ;;
  esac
done

if [ "$failed" -ne 0 ]; then
  exit 1
fi
echo "layer check: every include goes the right way ($(echo "$sources" | wc -l) files)"
