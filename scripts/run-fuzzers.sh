#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer target of a build briefly, each on its seed corpus if it has one.
set -euo pipefail
cd "$(dirname "$0")/.."
bindir=${1:-build-fuzz/bin}
runs=${FUZZ_RUNS:-20000}
seconds=${FUZZ_SECONDS:-20}
shopt -s nullglob
for f in "$bindir"/fuzz_*; do
  name=$(basename "$f")
  work=$(mktemp -d)
  seeds=()
  [[ -d fuzz/corpus/$name ]] && seeds+=(fuzz/corpus/$name)
  [[ -d fuzz/crashes/$name ]] && seeds+=(fuzz/crashes/$name)
  [[ -d tests/data ]] && seeds+=(tests/data)
  echo "fuzz: $name ($runs runs or ${seconds}s)"
  "$f" -runs="$runs" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$work/" "$work" "${seeds[@]}" >"$work/log" 2>&1 || {
    tail -n 40 "$work/log"; echo "fuzz: $name FAILED (artifacts in $work)"
    echo "fuzz: once fixed, keep the input in fuzz/crashes/$name/: every build replays it"; exit 1; }
  rm -rf "$work"
done
