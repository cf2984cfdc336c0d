#!/usr/bin/env bash
# Builds both presets and runs every test: the native suite, the Windows suite
# under Wine in a throwaway prefix, then the quality gates.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage.sh
total_start=$SECONDS
cpu_start=$(lsu_cpu_seconds)

lsu_stage "dependencies" bash scripts/install-deps.sh

build_native() {
  cmake --preset native -DLSU_WERROR=ON >/dev/null
  cmake --build --preset native -j2
}
build_windows() {
  cmake --preset windows -DLSU_WERROR=ON >/dev/null
  cmake --build --preset windows -j2
}
lsu_stage "native build" build_native
# The native tests keep to memory, so two run at once.
lsu_stage "native tests" ctest --test-dir build/native --output-on-failure -j2
lsu_stage "windows build" build_windows

source scripts/wine-prefix.sh
# The display comes first: the prefix's desktop is started with the prefix and
# keeps the display it found, and the window tests need a real one.
lsu_start_display
lsu_stage "throwaway wine prefix" lsu_start_throwaway_prefix
windows_tests() {
  local status=0
  ctest --test-dir build/windows --output-on-failure || status=$?
  local suite
  # The window tests need the display started above; ctest hands them DISPLAY.
  for suite in windows_suite windows_ui; do
    echo "$suite under Wine: $(grep -E '^\[==========\].*ran' "build/windows/$suite.log" | tail -1)"
    grep -E '^\[  (PASSED|FAILED)  \]' "build/windows/$suite.log" | tail -3
  done
  return $status
}
lsu_stage "windows tests under wine" windows_tests
lsu_stage "screenshot" bash scripts/screenshot-test.sh
lsu_stage "linux tool lists an offline tree as the windows tool lists wine" bash scripts/offline-matches-windows.sh
lsu_stage "release files: installed, started and uninstalled under wine; the debian package checked" \
  bash scripts/release-test.sh

lsu_stage "quality gates" bash scripts/quality.sh
echo
echo "all stages passed in $((SECONDS - total_start))s (CPU $(($(lsu_cpu_seconds) - cpu_start))s)"
