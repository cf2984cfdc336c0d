#!/usr/bin/env bash
# Builds and runs the Windows benchmark under Wine in a throwaway prefix of its
# own (removed again on exit) and prints its figures. --registry-heavy-10000
# measures the list for that crowd alone, --services the Services section and
# --apps the Apps leaf with 200 packages.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows >/dev/null
cmake --build --preset windows -j2 --target lsu_bench_win >/dev/null
source scripts/wine-prefix.sh
lsu_start_display
lsu_start_throwaway_prefix
scripts/wine-run.sh build/windows/lsu_bench_win.exe "$@"
