#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Our class set and our PDF pair against the office suite converting one pair, the two
# commands alternating so that a change in the machine's load hits both alike. Prints the
# median CPU and wall times of each and their ratios. Run it on an idle machine:
#   bench/compare-office.sh [BUILD_BIN_DIR] [ROUNDS]
set -euo pipefail
bin=${1:-build/bin}
rounds=${2:-5}
sheet=$(realpath "$bin/equat-sheet")
soffice=$(command -v soffice) || { echo "soffice is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
cd "$work"

# The office suite's pair: one 40-question level-3 systems sheet and its key.
"$sheet" --kind syst --level 3 --count 40 --seed 1 --output pair.rtf >/dev/null
office=("$soffice" "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf
  --outdir "$work/lo" pair.rtf pair_Cor.rtf)
"${office[@]}" >/dev/null 2>&1 # its first start makes the profile: not measured

# CPU (user + system of the command and its children) and wall seconds of one command.
measure() {
  /usr/bin/time -f '%U %S %e' -o "$work/time.txt" "$@" >/dev/null 2>&1
  awk '{ printf "%.3f %.3f\n", $1 + $2, $3 }' "$work/time.txt"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

compare() {
  local label=$1
  shift
  : >ours.txt
  : >theirs.txt
  for ((k = 0; k < rounds; ++k)); do
    measure "$@" >>ours.txt
    measure "${office[@]}" >>theirs.txt
  done
  local oc ow tc tw
  oc=$(cut -d' ' -f1 ours.txt | median)
  ow=$(cut -d' ' -f2 ours.txt | median)
  tc=$(cut -d' ' -f1 theirs.txt | median)
  tw=$(cut -d' ' -f2 theirs.txt | median)
  echo "$label ($rounds rounds, medians)"
  echo "  ours:   cpu ${oc} s  wall ${ow} s"
  echo "  office: cpu ${tc} s  wall ${tw} s (one pair)"
  awk -v oc="$oc" -v ow="$ow" -v tc="$tc" -v tw="$tw" \
    'BEGIN { printf "  office / ours: cpu %.2f  wall %.2f\n", tc / oc, tw / ow }'
}

compare "35 copies with their keys into two collated PDFs" \
  "$sheet" --kind syst --level 3 --count 40 --sheets 35 --seed 2 --collate classe.pdf
compare "one pair with --pdf" \
  "$sheet" --kind syst --level 3 --count 40 --seed 1 --pdf --output ours.rtf
