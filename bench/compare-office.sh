#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Our class set, our PDF pair and the floor under it against the office suite converting one
# pair, the two commands alternating so that a change in the machine's load hits both alike.
# Prints the median user CPU, CPU (user + system) and wall times of each and their ratios;
# judge on user CPU, which system noise moves least. Run it on an idle machine:
#   bench/compare-office.sh [BUILD_BIN_DIR] [ROUNDS]
set -euo pipefail
bin=$(realpath "${1:-build/bin}")
rounds=${2:-5}
sheet=$bin/equat-sheet
soffice=$(command -v soffice) || { echo "soffice is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The office suite's pair: one 40-question level-3 systems sheet and its key.
"$sheet" --kind syst --level 3 --count 40 --seed 1 --output pair.rtf >/dev/null
office=("$soffice" "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf
  --outdir "$work/lo" pair.rtf pair_Cor.rtf)
"${office[@]}" >/dev/null 2>&1 # its first start makes the profile: not measured

# One run's user CPU, CPU (user + system of the command and its children) and wall seconds,
# as the mean of REPEAT runs in a row: the system counts in hundredths of a second, too
# coarse for a run of a few milliseconds.
measure() {
  local repeat=$1
  shift
  /usr/bin/time -f '%U %S %e' -o "$work/time.txt" sh -c \
    'n=$1; shift; while [ "$n" -gt 0 ]; do "$@" >/dev/null 2>&1 || exit 1; n=$((n - 1)); done' \
    sh "$repeat" "$@"
  awk -v n="$repeat" '{ printf "%.5f %.5f %.5f\n", $1 / n, ($1 + $2) / n, $3 / n }' "$work/time.txt"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# compare LABEL REPEAT COMMAND...: ours (REPEAT runs a round) and the office suite's pair
# (one run a round), in turn.
compare() {
  local label=$1 repeat=$2
  shift 2
  : >ours.txt
  : >theirs.txt
  for ((k = 0; k < rounds; ++k)); do
    measure "$repeat" "$@" >>ours.txt
    measure 1 "${office[@]}" >>theirs.txt
  done
  local ou oc ow tu tc tw
  ou=$(cut -d' ' -f1 ours.txt | median)
  oc=$(cut -d' ' -f2 ours.txt | median)
  ow=$(cut -d' ' -f3 ours.txt | median)
  tu=$(cut -d' ' -f1 theirs.txt | median)
  tc=$(cut -d' ' -f2 theirs.txt | median)
  tw=$(cut -d' ' -f3 theirs.txt | median)
  echo "$label ($rounds rounds, medians; ours as the mean of $repeat runs a round)"
  echo "  ours:   user ${ou} s  cpu ${oc} s  wall ${ow} s"
  echo "  office: user ${tu} s  cpu ${tc} s  wall ${tw} s (one pair)"
  awk -v ou="$ou" -v oc="$oc" -v ow="$ow" -v tu="$tu" -v tc="$tc" -v tw="$tw" \
    'BEGIN { printf "  ours / office: user %.4f (1/%.1f)  cpu %.4f (1/%.1f)  wall %.4f\n", ou / tu, tu / ou, oc / tc, tc / oc, ow / tw }'
}

compare "35 copies with their keys into two collated PDFs" 3 \
  "$sheet" --kind syst --level 3 --count 40 --sheets 35 --seed 2 --collate classe.pdf
compare "one pair with --pdf" 25 \
  "$sheet" --kind syst --level 3 --count 40 --seed 1 --pdf --output ours.rtf
# The floor under the pair: Qt started on the tools' platform and the pair's fonts loaded,
# nothing laid out, when the floor program is built (EQUAT_BENCH).
if [[ -x $bin/bench_fontfloor ]]; then
  compare "the pair's floor: Qt and the pair's fonts alone" 25 \
    "$bin/bench_fontfloor" pair.rtf pair_Cor.rtf
fi
