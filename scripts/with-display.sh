#!/usr/bin/env bash
# Runs a command with one shared virtual display and one persistent wineserver, then stops both.
# Used around whole test runs so that Wine programs do not each pay for their own start-up.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
qx_prefix_ensure
QX_XVFB_PID=""
if [ -z "${DISPLAY:-}" ] || [ -n "${QX_FORCE_XVFB:-}" ]; then
  qx_xvfb_start || exit 1
fi
export QX_WINE_SESSION=1
wineserver -p >/dev/null 2>&1
# Start Wine's background services now, detached from our output: otherwise the first program
# run under a test harness hands them its stdout, and the harness waits for them to exit.
wine cmd /c exit </dev/null >/dev/null 2>&1
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$QX_XVFB_PID" ] && kill "$QX_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 130' INT TERM
"$@"
