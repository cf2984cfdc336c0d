#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, quietly. Its output goes
# through a file: Wine's helper processes inherit a pipe and would keep the
# caller waiting long after the program ended. With LSU_WINE_LOG set, the
# output is also kept in that file.
log=${LSU_WINE_LOG:-$(mktemp)}
env WINEDEBUG=-all wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
[ -z "${LSU_WINE_LOG:-}" ] && rm -f "$log"
exit $status
