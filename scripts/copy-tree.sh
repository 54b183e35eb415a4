#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Copies the work tree as it stands (tracked and untracked files, changes not
# yet committed included, without ignored ones such as build folders) into a
# new folder, with the repository, so that the copy builds and checks as the
# original would.
# Usage: scripts/copy-tree.sh DEST   (DEST must not exist yet)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
dest=$1
git clone --quiet --no-checkout "$top" "$dest"
(cd "$top" && git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
  tar --null -T - -cf -) | tar -xf - -C "$dest"
(cd "$dest" && git reset --quiet)
