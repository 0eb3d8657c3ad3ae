#!/usr/bin/env bash
# Runs one Windows program under the project's Wine prefix; CMake's cross-compiling emulator.
# Inside scripts/with-display.sh (the test runs) it only runs the program. On its own it starts
# Wine's services detached first and, without a DISPLAY, uses a private Xvfb that it stops after.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
qx_prefix_ensure
QX_XVFB_PID=""
if [ -z "${QX_WINE_SESSION:-}" ]; then
  if [ -z "${DISPLAY:-}" ]; then
    qx_xvfb_start || exit 1
  fi
  wine cmd /c exit </dev/null >/dev/null 2>&1
fi
wine "$@"
rc=$?
if [ -n "$QX_XVFB_PID" ]; then
  wineserver -k >/dev/null 2>&1
  kill "$QX_XVFB_PID" 2>/dev/null
fi
exit $rc
