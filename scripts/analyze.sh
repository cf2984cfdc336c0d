#!/usr/bin/env bash
# Static analysis of the project's own sources with the checks in .clang-tidy:
# clang-tidy over the portable sources as the native build compiles them, and
# over the Win32 sources as the mingw-w64 build compiles them (its target, its
# flags and its headers); cppcheck over the portable sources. Any finding, or
# clang-tidy failing to analyse a file, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --preset windows -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null

mapfile -t portable < <(git ls-files 'src/*.cpp' | grep -v -E '/win32/|^src/app/')
mapfile -t win32 < <(git ls-files 'src/*.cpp' | grep -E '/win32/|^src/app/')

# Clang finds the mingw-w64 C headers by itself but not the C++ library of
# the posix-thread g++ the build uses, so its folders are handed over as
# g++ reports them. GCC's own folders (intrinsics, fixed headers) are left
# out: they use builtins clang does not have, and clang brings its own.
mingw_includes=()
while read -r folder; do
  folder=$(realpath "$folder")
  case "$folder" in
    */include/c++ | */include/c++/* | */x86_64-w64-mingw32/include) mingw_includes+=("--extra-arg=-isystem$folder") ;;
  esac
done < <(x86_64-w64-mingw32-g++-posix -E -x c++ - -v </dev/null 2>&1 |
           sed -n '/#include <...> search starts here/,/End of search list/p' | grep '^ ')
if [ ${#mingw_includes[@]} -lt 2 ]; then
  echo "clang-tidy: could not find the C++ headers of x86_64-w64-mingw32-g++-posix" >&2
  exit 1
fi

# performance-no-int-to-ptr is left out on the Win32 sources only: the API
# hands pointers and handles over as WPARAM, LPARAM and LONG_PTR, so the
# casts it flags are the ones the API demands, not a choice of the code.
tidy_status=0
printf '%s\n' "${portable[@]}" | xargs -P 2 -n 4 clang-tidy -p build/native --quiet \
  >build/clang-tidy.log 2>build/clang-tidy.stderr || tidy_status=$?
printf '%s\n' "${win32[@]}" | xargs -P 2 -n 2 clang-tidy -p build/windows --quiet \
  --extra-arg=--target=x86_64-w64-mingw32 "${mingw_includes[@]}" --checks=-performance-no-int-to-ptr \
  >>build/clang-tidy.log 2>>build/clang-tidy.stderr || tidy_status=$?
echo "clang-tidy: ${#portable[@]} portable files, ${#win32[@]} Win32 files"
cat build/clang-tidy.log
# Its stderr is mostly counts of the warnings it hid in system headers.
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' \
  build/clang-tidy.stderr || true
if [ "$tidy_status" -ne 0 ] || grep -qE 'warning:|error:' build/clang-tidy.log; then
  echo "clang-tidy: findings or errors above (exit status $tidy_status)"
  exit 1
fi
echo "clang-tidy: no findings"
cppcheck --std=c++20 --language=c++ --enable=warning,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --suppress=missingIncludeSystem -I src "${portable[@]}"
echo "cppcheck: no findings"
