#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, quietly. Its output goes
# through a file: Wine's helper processes inherit a pipe and would keep the
# caller waiting long after the program ended. With LSU_WINE_LOG set, the
# output is also kept in that file; otherwise the file is a temporary one,
# removed on exit.
source "$(dirname "$0")/on-exit.sh"
if [ -n "${LSU_WINE_LOG:-}" ]; then
  log=$LSU_WINE_LOG
else
  log=$(mktemp /tmp/lstartup-wine-run.XXXXXX)
  lsu_on_exit "rm -f '$log'"
fi
env WINEDEBUG=-all wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
exit $status
