#!/usr/bin/env bash
# Runs each libFuzzer target for a bounded time on a copy of its seed corpus.
# A crash it finds is saved under fuzz/regressions/<target>/ so that it is
# replayed by every later run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${LSU_FUZZ_SECONDS:-25}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target $(for f in fuzz/Fuzz*.cpp; do basename "$f" .cpp; done) >/dev/null
status=0
for source in fuzz/Fuzz*.cpp; do
  target=$(basename "$source" .cpp)
  corpus_name=$(echo "${target#Fuzz}" | tr '[:upper:]' '[:lower:]')
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$corpus_name/." "$work/" 2>/dev/null || true
  regressions="fuzz/regressions/$target"
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "build/fuzz/$target" "$regressions"/* >/dev/null 2>&1 || { echo "$target: a kept regression case fails again"; status=1; }
  fi
  mkdir -p "$work/crashes"
  if "build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -artifact_prefix="$work/crashes/" "$work" \
      >"$work/log" 2>&1; then
    echo "$target: $(grep -Eo 'Done [0-9]+ runs' "$work/log" | tail -1) in ${seconds}s, no crash"
  else
    mkdir -p "$regressions"
    cp "$work"/crashes/* "$regressions"/ 2>/dev/null || true
    echo "$target: crash found, kept in $regressions"; tail -20 "$work/log"
    status=1
  fi
  rm -rf "$work"
done
exit $status
