#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ source differs from what clang-format would write, or when a source file
# lacks the licence's SPDX line (scripts/add-spdx.sh adds it).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [[ -f $f ]] && echo "$f"; done)
((${#files[@]})) || exit 0
clang-format --dry-run --Werror "${files[@]}"
./scripts/add-spdx.sh --check
echo "format: ${#files[@]} files clean"
