#!/usr/bin/env bash
# The quality gates beyond the two test suites: the native tests and the
# offline suite (the Linux tool on a mounted volume; hivex and liblnk are not
# instrumented) under AddressSanitizer and UndefinedBehaviorSanitizer, static
# analysis, and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage.sh
sanitized_tests() {
  cmake --preset sanitize >/dev/null
  cmake --build --preset sanitize -j2 --target lsu_tests lsu_offline_tests >/dev/null
  # As in the plain native run, the tests keep to memory, so two run at once.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize -j2
}
lsu_stage "native tests under ASan and UBSan" sanitized_tests
lsu_stage "static analysis" bash scripts/analyze.sh
lsu_stage "fuzzing" bash scripts/fuzz.sh
