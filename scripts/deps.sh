#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the Debian packages the build needs, only those that are missing.
# Usage: scripts/deps.sh run|test [PACKAGE...]
# The further packages are what a script needs beyond the build (the
# fuzzer's Clang runtime, the package tools).
set -euo pipefail

# The program's languages need their fonts and the toolkit's own translations.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-wayland fonts-dejavu-core fonts-freefont-ttf
  fonts-ipafont-gothic fonts-wqy-microhei qt6-translations-l10n)
if [ "${1:-test}" = test ]; then
  # man-db (with groff) for the test of the manual page.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev git man-db)
fi
packages+=("${@:2}")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
