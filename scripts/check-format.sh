#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Fails when a tracked C++ source differs from what clang-format 19 makes of
# it with the repository's .clang-format, or when a source file does not carry
# the licence line within its first two lines. The AppStream entry's template
# names CC0-1.0 instead: software centres copy that metadata, and AppStream
# accepts only licences as free as that for it.
set -euo pipefail
cd "$(dirname "$0")/.."

# One formatter on every release: each clang-format version lays some code
# out differently, so the version is pinned to one that both Debian 12 and
# Debian 13 carry, and every machine gives the same verdict.
bash scripts/deps.sh run clang-format-19
files=$(git ls-files '*.cpp' '*.h')
# shellcheck disable=SC2086
clang-format-19 --dry-run --Werror $files
echo "format check: $(echo "$files" | wc -l) files formatted"

missing=0
while IFS= read -r f; do
  licence=Apache-2.0
  case "$f" in *.metainfo.xml.in) licence=CC0-1.0 ;; esac
  if ! head -2 "$f" | grep -q "SPDX-License-Identifier: $licence\b"; then
    echo "no licence line ($licence): $f" >&2
    missing=1
  fi
done < <(git ls-files '*.cpp' '*.h' '*.in' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' '*/CMakeLists.txt')
[ "$missing" = 0 ]
echo "licence check: every source names its licence"
