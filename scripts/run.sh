#!/usr/bin/env bash
# Builds LStartUp.exe and starts it under Wine in your own Wine prefix, on
# your display. Without a display it runs in a virtual one, saves a
# screenshot of the window and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
# Only the program: the test suites of the preset are test.sh's business.
cmake --build --preset windows -j2 --target LStartUp
program=build/windows/LStartUp.exe
export WINEDEBUG=-all
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$program"
fi
source scripts/wine-prefix.sh
lsu_start_display
bash scripts/screenshot.sh artifacts/lstartup.png
echo "No display: the window was shown on a virtual one; its screenshot is $(pwd)/artifacts/lstartup.png"
