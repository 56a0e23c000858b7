#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the manual pages: each renders without warnings, and lists exactly the long options
# its tool's --help lists. A failure names the options to add to or drop from the page.
set -euo pipefail
bin=${1:?usage: check-man.sh BIN_DIR MAN_DIR}
man=${2:?usage: check-man.sh BIN_DIR MAN_DIR}
status=0

# Long options named in a text, one a line; --help and --version go without saying.
options() {
  { grep -oE -- '--[a-z][a-z0-9-]*' || true; } | { grep -vxE -- '--(help|version)' || true; } | sort -u
}

# The English pages against the English help, the French ones (fr/) against the French.
for page in "$man"/*.1 "$man"/fr/*.1; do
  [[ -e $page ]] || continue
  tool=$(basename "$page" .1)
  lang=C
  [[ $page == "$man"/fr/* ]] && lang=fr_FR.UTF-8
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null)
  if [[ -n $warnings ]]; then
    echo "man: $page renders with warnings:" >&2
    echo "$warnings" >&2
    status=1
  fi
  [[ -x $bin/$tool ]] || continue
  help=$(LC_ALL=$lang "$bin/$tool" --help | options)
  listed=$(sed 's/\\-/-/g' "$page" | options)
  missing=$(comm -23 <(echo "$help") <(echo "$listed"))
  stale=$(comm -13 <(echo "$help") <(echo "$listed"))
  if [[ -n $missing ]]; then
    echo "man: $page lacks options of $tool --help:" $missing >&2
    status=1
  fi
  if [[ -n $stale ]]; then
    echo "man: $page names options $tool --help does not:" $stale >&2
    status=1
  fi
done
exit $status
