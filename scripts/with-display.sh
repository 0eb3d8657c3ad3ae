#!/usr/bin/env bash
# Runs a command with its own virtual display (Xvfb, when no DISPLAY is set), its own copy of the
# Wine prefix and one persistent wineserver, then stops and removes all of them. Used around
# whole test runs so that Wine programs do not each pay for start-up, and so that concurrent
# runs on one machine stay apart.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
qx_prefix_ensure
QX_XVFB_PID=""
if [ -z "${DISPLAY:-}" ] || [ -n "${QX_FORCE_XVFB:-}" ]; then
  qx_xvfb_start || exit 1
fi
session=$QX_ROOT/build/wine-sessions/$$
qx_session_prefix_create "$session"
export QX_WINE_SESSION=1 QX_WINEPREFIX=$session
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$QX_XVFB_PID" ] && kill "$QX_XVFB_PID" 2>/dev/null
  rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
wineserver -p >/dev/null 2>&1
# Start Wine's background services now, detached from our output: otherwise the first program
# run under a test harness hands them its stdout, and the harness waits for them to exit.
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"
