#!/usr/bin/env bash
# Static analysis of the project's own portable sources: clang-tidy with the
# checks in .clang-tidy and cppcheck; any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
mapfile -t sources < <(git ls-files 'src/*.cpp' | grep -v -E '/win32/|src/app/')
echo "clang-tidy: ${#sources[@]} files"
printf '%s\n' "${sources[@]}" | xargs -P 2 -n 4 clang-tidy -p build/native --quiet 2>/dev/null >build/clang-tidy.log || true
cat build/clang-tidy.log
if grep -qE 'warning:|error:' build/clang-tidy.log; then
  echo "clang-tidy: findings above"; exit 1
fi
echo "clang-tidy: no findings"
cppcheck --std=c++20 --language=c++ --enable=warning,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --suppress=missingIncludeSystem -I src "${sources[@]}"
echo "cppcheck: no findings"
