#!/usr/bin/env bash
# Fails when a tracked C++ source differs from what clang-format makes of it
# with the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
# shellcheck disable=SC2086
clang-format --dry-run --Werror $files
echo "format check: $(echo "$files" | wc -l) files formatted"
