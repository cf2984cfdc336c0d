#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, quietly; ctest uses it to
# run the Windows tests.
exec env WINEDEBUG=-all wine "$@"
