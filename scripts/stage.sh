# Sourced by test.sh and quality.sh: `lsu_stage NAME COMMAND...` runs one
# stage of the run and prints its wall time and the CPU time its processes
# used. The machine is shared with other builds, so the wall time wanders
# with their load; the CPU time is the steadier figure to compare runs by.
lsu_cpu_seconds() {
  # This shell's own and its finished children's user and system time, in ticks.
  awk -v tick="$(getconf CLK_TCK)" '{ printf "%d", ($14 + $15 + $16 + $17) / tick }' "/proc/$$/stat"
}

lsu_stage() {
  local name=$1 start=$SECONDS cpu_start
  shift
  cpu_start=$(lsu_cpu_seconds)
  echo
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start))s (CPU $(($(lsu_cpu_seconds) - cpu_start))s)"
}
