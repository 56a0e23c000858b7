#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
werror=OFF
[[ -n ${CI:-} ]] && werror=ON

./scripts/install-deps.sh --tests
./scripts/check-format.sh

echo "== print service: a PDF queue for the printing tests"
if ! ./scripts/start-cups.sh; then
  echo "!! WARNING: the print service could not start here; the printing tests will SKIP." >&2
fi

echo "== sanitizers: every layer's tests under ASan and UBSan, the window's offscreen"
cmake --preset asan -DEQUAT_WERROR=$werror >/dev/null
cmake --build build-asan -j "$jobs"
# Qt and the system libraries it loads are not instrumented; their own lifetime allocations
# are not our leaks. The package check belongs to the main build.
QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E '^debian_package$'

echo "== fuzzing: a short run of every target"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz -j "$jobs"
./scripts/run-fuzzers.sh build-fuzz/bin

echo "== main build and every test"
cmake --preset dev -DEQUAT_WERROR=$werror -DEQUAT_GUI=ON -DEQUAT_TESTS=ON -DEQUAT_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
