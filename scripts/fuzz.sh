#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time on a copy of its seed corpus.
# A crash it finds is saved under fuzz/regressions/<target>/ so that it is
# replayed by every later run. The copies live in one temporary folder,
# removed on exit.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/on-exit.sh
seconds=${LSU_FUZZ_SECONDS:-25}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target $(for f in fuzz/Fuzz*.cpp; do basename "$f" .cpp; done) >/dev/null
work_root=$(mktemp -d /tmp/lstartup-fuzz.XXXXXX)
lsu_on_exit "rm -rf '$work_root'"
status=0
for source in fuzz/Fuzz*.cpp; do
  target=$(basename "$source" .cpp)
  corpus_name=$(echo "${target#Fuzz}" | tr '[:upper:]' '[:lower:]')
  work="$work_root/$target"
  mkdir -p "$work/corpus" "$work/crashes"
  cp -r "fuzz/corpus/$corpus_name/." "$work/corpus/" 2>/dev/null || true
  regressions="fuzz/regressions/$target"
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "build/fuzz/$target" "$regressions"/* >/dev/null 2>&1 || { echo "$target: a kept regression case fails again"; status=1; }
  fi
  if "build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$work/crashes/" "$work/corpus" \
      >"$work/log" 2>&1; then
    echo "$target: $(grep -Eo 'Done [0-9]+ runs' "$work/log" | tail -1) in ${seconds}s, no crash"
  else
    mkdir -p "$regressions"
    cp "$work"/crashes/* "$regressions"/ 2>/dev/null || true
    echo "$target: crash found, kept in $regressions"; tail -20 "$work/log"
    status=1
  fi
done
exit $status
