#!/usr/bin/env bash
# `make run`: starts the PC/SC rig with the default card, then the console QXReader_CCID under the
# rig's Wine environment. With a DISPLAY the console appears there; without one it runs on a
# private Xvfb that can be watched and used with a VNC viewer on 127.0.0.1 (x11vnc). Ctrl+C, or
# closing the console, stops everything this script started (and only that).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
# The i686 console, or its x86_64 build on machines that run no 32-bit code (wine-env.sh decides).
EXE=$ROOT/build/$QX_WIN_TREE/console/QXReader_CCID.exe
export QX_RIG_DIR=${QX_RIG_DIR:-$ROOT/build/rig-run}

[ -x "$EXE" ] || [ -f "$EXE" ] || { echo "run-console: $EXE is missing; run 'make wine-tree' first" >&2; exit 1; }
[ -f "$(dirname "$EXE")/winscard.dll" ] || echo "run-console: no rig winscard.dll beside the console; readers will not be seen" >&2

QX_XVFB_PID=""
VNC_PID=""
CONSOLE_PID=""
RIG_STARTED=""
VERSION_SET=""
# The console runs as on Windows XP (platform code 7 of the skin engine), the system its skins were designed on.
# The setting holds for this program only and is taken back when the run ends, so the prefix's tests keep theirs.
VERSION_KEY='HKCU\Software\Wine\AppDefaults\QXReader_CCID.exe'
cleanup() {
  trap - EXIT INT TERM
  [ -n "$CONSOLE_PID" ] && kill "$CONSOLE_PID" 2>/dev/null
  [ -n "$VERSION_SET" ] && wine reg delete "$VERSION_KEY" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  [ -n "$VNC_PID" ] && kill "$VNC_PID" 2>/dev/null
  [ -n "$QX_XVFB_PID" ] && kill "$QX_XVFB_PID" 2>/dev/null
  [ -n "$RIG_STARTED" ] && bash "$ROOT/scripts/rig.sh" stop >/dev/null 2>&1
}
trap cleanup EXIT
trap 'exit 130' INT TERM

qx_prefix_ensure
if [ -z "${DISPLAY:-}" ]; then
  qx_xvfb_start || exit 1
  if command -v x11vnc >/dev/null 2>&1; then
    x11vnc -display "$DISPLAY" -localhost -forever -shared -nopw -quiet -rfbport 5900 >/dev/null 2>&1 &
    VNC_PID=$!
    echo "run-console: no DISPLAY; the console runs on Xvfb $DISPLAY. Watch and use it with a VNC viewer on 127.0.0.1:5900."
  else
    echo "run-console: no DISPLAY; the console runs on Xvfb $DISPLAY. Install x11vnc (apt-get install x11vnc) and run"
    echo "  x11vnc -display $DISPLAY -localhost -nopw   then connect a VNC viewer to 127.0.0.1:5900."
  fi
fi

if bash "$ROOT/scripts/rig.sh" start default none; then
  RIG_STARTED=1
  eval "$(bash "$ROOT/scripts/rig.sh" env)"
else
  echo "run-console: the PC/SC rig did not start; the console runs without readers" >&2
fi

if wine reg add "$VERSION_KEY" /v Version /t REG_SZ /d winxp /f >/dev/null 2>&1; then
  VERSION_SET=1
else
  echo "run-console: could not set the Windows version for the console; it runs as the prefix reports" >&2
fi
echo "run-console: starting QXReader_CCID, the $QX_WIN_ARCH build, as Windows XP (Ctrl+C stops it and the rig)"
wine "$EXE" "$@" &
CONSOLE_PID=$!
wait "$CONSOLE_PID"
