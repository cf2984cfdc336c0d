#!/usr/bin/env bash
# Replays the crashes kept from earlier runs, then runs each libFuzzer target
# for its share of a fixed time on a copy of its seed corpus, two targets at
# a time (one on each core). A crash it finds is saved under
# fuzz/regressions/<target>/ so that it is replayed by every later run. The
# copies live in one temporary folder, removed on exit; fuzzers still running
# then are stopped.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/on-exit.sh
parallel=2
targets=()
for source in fuzz/Fuzz*.cpp; do targets+=("$(basename "$source" .cpp)"); done
# The stage lasts about as long however many targets there are: 50 s of
# fuzzing on each core, shared among the targets that run on it.
rounds=$(((${#targets[@]} + parallel - 1) / parallel))
seconds=${LSU_FUZZ_SECONDS:-$((50 / rounds))}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]}" >/dev/null
work_root=$(mktemp -d /tmp/lstartup-fuzz.XXXXXX)
lsu_on_exit "rm -rf '$work_root'"
lsu_on_exit 'running=$(jobs -pr); [ -z "$running" ] || { kill $running 2>/dev/null; wait $running 2>/dev/null; } || true'
# Ctrl+C ends the whole run: a fuzzer that caught it itself would exit as if
# it had failed, and the script would go on to the next target.
fuzzer_options=(-handle_int=0 -max_len=4096)
status=0

for target in "${targets[@]}"; do
  regressions="fuzz/regressions/$target"
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    "build/fuzz/$target" "${fuzzer_options[@]}" "$regressions"/* >/dev/null 2>&1 ||
      { echo "$target: a kept regression case fails again"; status=1; }
  fi
done

declare -A target_of_pid=() status_of_target=()
collect_one() {
  local pid code=0
  wait -n -p pid || code=$?
  status_of_target[${target_of_pid[$pid]}]=$code
}
for target in "${targets[@]}"; do
  corpus_name=$(echo "${target#Fuzz}" | tr '[:upper:]' '[:lower:]')
  work="$work_root/$target"
  mkdir -p "$work/corpus" "$work/crashes"
  cp -r "fuzz/corpus/$corpus_name/." "$work/corpus/" 2>/dev/null || true
  if [ ${#target_of_pid[@]} -ge $((${#status_of_target[@]} + parallel)) ]; then collect_one; fi
  "build/fuzz/$target" "${fuzzer_options[@]}" -max_total_time="$seconds" -artifact_prefix="$work/crashes/" \
    "$work/corpus" >"$work/log" 2>&1 &
  target_of_pid[$!]=$target
done
while [ ${#status_of_target[@]} -lt ${#targets[@]} ]; do collect_one; done

for target in "${targets[@]}"; do
  work="$work_root/$target"
  code=${status_of_target[$target]}
  if [ "$code" -eq 0 ]; then
    echo "$target: $(grep -Eo 'Done [0-9]+ runs' "$work/log" | tail -1) in ${seconds}s, no crash"
    continue
  fi
  status=1
  if [ -n "$(ls -A "$work/crashes")" ]; then
    regressions="fuzz/regressions/$target"
    mkdir -p "$regressions"
    cp "$work"/crashes/* "$regressions"/
    echo "$target: crash found, kept in $regressions"
  else
    echo "$target: the fuzzer failed (exit status $code) without leaving an input"
  fi
  tail -20 "$work/log"
done
exit $status
