#!/usr/bin/env bash
# The quality gates beyond the two test suites: the native tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, static analysis, and a
# bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
stage() { local name=$1; shift; local start=$SECONDS; echo "== $name"; "$@"; echo "== $name took $((SECONDS - start))s"; }
sanitized_tests() {
  cmake --preset sanitize >/dev/null
  cmake --build --preset sanitize -j2 --target lsu_tests >/dev/null
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitize
}
stage "native tests under ASan and UBSan" sanitized_tests
stage "static analysis" bash scripts/analyze.sh
stage "fuzzing" bash scripts/fuzz.sh
