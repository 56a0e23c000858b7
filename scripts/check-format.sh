#!/usr/bin/env bash
# Fails when a C++ source differs from what clang-format would write.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [[ -f $f ]] && echo "$f"; done)
((${#files[@]})) || exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "format: ${#files[@]} files clean"
