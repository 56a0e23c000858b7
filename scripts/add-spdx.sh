#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence's SPDX line at the top of every source file that lacks it (after the
# "#!" line of a script). Running it twice changes nothing.
#   add-spdx.sh [FILE]...    the files given, or every tracked and new source file
#   add-spdx.sh --check      lists the files that lack the line; fails when there are any
set -euo pipefail
cd "$(dirname "$0")/.."
readonly id='SPDX-License-Identifier: GPL-3.0-or-later'

check=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
fi
if (($#)); then
  files=("$@")
else
  mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.cmake' \
                         'CMakeLists.txt' '*/CMakeLists.txt' '*.sh' '.ci/run' |
                       while read -r f; do [[ -f $f ]] && echo "$f"; done)
fi

comment_for() {
  case $1 in
    *.cpp | *.h) echo "// $id" ;;
    *) echo "# $id" ;;
  esac
}

lacking=()
for f in "${files[@]}"; do
  head -n 3 "$f" | grep -q 'SPDX-License-Identifier:' && continue
  lacking+=("$f")
  ((check)) && continue
  line=$(comment_for "$f")
  if [[ $(head -c 2 "$f") == '#!' ]]; then
    sed -i "1a $line" "$f"
  else
    sed -i "1i $line" "$f"
  fi
done

if ((check && ${#lacking[@]})); then
  echo "spdx: these files lack the line '$id' (run scripts/add-spdx.sh):" >&2
  printf '  %s\n' "${lacking[@]}" >&2
  exit 1
fi
((check)) || echo "spdx: ${#lacking[@]} files given the licence line"
