#!/usr/bin/env bash
# Starts LStartUp.exe under Wine on $DISPLAY in $WINEPREFIX, waits until its
# window "Tovane StartUp" is shown and painted, saves a picture of the screen
# to the given PNG and ends the program. Fails when the window never shows.
set -euo pipefail
cd "$(dirname "$0")/.."
picture=$1
program=build/windows/LStartUp.exe
WINEDEBUG=-all wine "$program" >/dev/null 2>&1 &
program_pid=$!
shown=no
for _ in $(seq 120); do
  if xdotool search --name "Tovane StartUp" >/dev/null 2>&1; then shown=yes; break; fi
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.5
done
if [ "$shown" = yes ]; then
  sleep 2  # let the window finish painting before the picture is taken
  mkdir -p "$(dirname "$picture")"
  import -window root "$picture"
fi
kill "$program_pid" 2>/dev/null || true
wait "$program_pid" 2>/dev/null || true
if [ "$shown" != yes ]; then
  echo "LStartUp.exe did not show its window \"Tovane StartUp\"." >&2
  exit 1
fi
