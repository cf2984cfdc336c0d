#!/usr/bin/env bash
# Static analysis of the project's own sources with the checks in .clang-tidy:
# clang-tidy over the portable sources as the native build compiles them, and
# over the Win32 sources as the mingw-w64 build compiles them (its target, its
# flags and its headers); cppcheck over the portable sources. Any finding, or
# clang-tidy failing to analyse a file, fails the run, except the findings
# listed in scripts/analyze-known-findings.txt while they stand.
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

# One clang-tidy per file, so that each file's output and exit status are
# kept apart: a file it failed on without a finding to show fails the run.
tidy_out=build/clang-tidy
rm -rf "$tidy_out"
mkdir -p "$tidy_out"
tidy_each() {
  xargs -P 2 -I '{}' bash -c 'out="$0/$(echo "$1" | tr / _)"; shift 1
    clang-tidy --quiet "$@" >"$out.log" 2>"$out.stderr"; echo $? >"$out.status"' "$tidy_out" '{}' '{}' "$@"
}
printf '%s\n' "${portable[@]}" | tidy_each -p build/native
# performance-no-int-to-ptr is left out on the Win32 sources only: the API
# hands pointers and handles over as WPARAM, LPARAM and LONG_PTR, so the
# casts it flags are the ones the API demands, not a choice of the code.
printf '%s\n' "${win32[@]}" | tidy_each -p build/windows \
  --extra-arg=--target=x86_64-w64-mingw32 "${mingw_includes[@]}" --checks=-performance-no-int-to-ptr
echo "clang-tidy: ${#portable[@]} portable files, ${#win32[@]} Win32 files"

# A finding as "file: check: message", without the line, which moves.
findings_of() {
  sed -E -n "s|^$(pwd)/||; s/^([^ :]+):[0-9]+:[0-9]+: (warning|error): (.*) \[([^],]+)(,-warnings-as-errors)?\]$/\1: \4: \3/p" "$@" |
    sort -u
}
failed=0
for status_file in "$tidy_out"/*.status; do
  out=${status_file%.status}
  cat "$out.log"
  # Its stderr is mostly counts of the warnings it hid in system headers.
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Use -system-headers' \
    "$out.stderr" || true
  if [ "$(cat "$status_file")" -ne 0 ] && [ -z "$(findings_of "$out.log")" ]; then
    echo "clang-tidy failed on $(basename "$out") (exit status $(cat "$status_file")) without a finding"
    failed=1
  fi
done

# Findings known and reported, not fixed yet: they do not fail the run while
# they stand, and the run fails once one is gone, so that its line goes too.
known=scripts/analyze-known-findings.txt
new_findings=$(comm -23 <(findings_of "$tidy_out"/*.log) <(grep -v -E '^#|^$' "$known" | sort -u))
gone_findings=$(comm -13 <(findings_of "$tidy_out"/*.log) <(grep -v -E '^#|^$' "$known" | sort -u))
if [ -n "$new_findings" ]; then
  printf 'clang-tidy: new findings:\n%s\n' "$new_findings"
  failed=1
fi
if [ -n "$gone_findings" ]; then
  printf 'clang-tidy: fixed, so remove them from %s:\n%s\n' "$known" "$gone_findings"
  failed=1
fi
if [ "$failed" -ne 0 ]; then exit 1; fi
open_count=$(grep -c -v -E '^#|^$' "$known" || true)
echo "clang-tidy: no new findings ($open_count known ones still open, listed in $known)"
cppcheck --std=c++20 --language=c++ --enable=warning,performance,portability --inline-suppr --quiet \
  --error-exitcode=1 --suppress=missingIncludeSystem -I src "${portable[@]}"
echo "cppcheck: no findings"
