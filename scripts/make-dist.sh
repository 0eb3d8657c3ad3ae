#!/usr/bin/env bash
# Lays out the distribution medium: Tarvik.exe at the root, the console and the user manual under resource/.
# Usage: scripts/make-dist.sh [--win32-build DIR] [--out DIR]    (defaults: build/win32, build/dist)
# The medium's file names are UTF-8 on this side; Wine (code page 936) and a Chinese Windows copy of the medium
# show them to the launcher as GBK names. Entries whose products we do not make stay absent, so the launcher shows
# them disabled.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$ROOT/build/win32
OUT=$ROOT/build/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --win32-build) BUILD=$2; shift 2 ;;
    --out) OUT=$2; shift 2 ;;
    *) echo "make-dist: unknown argument $1" >&2; exit 2 ;;
  esac
done

LAUNCHER=$BUILD/launcher/Tarvik.exe
CONSOLE=$BUILD/console/QXReader_CCID.exe
MANUAL_SRC=$ROOT/res/manual/manual.html
MANUAL_NAME='岚迅QX740读卡器用户手册.html'

if [ ! -f "$LAUNCHER" ]; then
  echo "make-dist: $LAUNCHER is missing; build the win32 tree first (make win32)" >&2
  exit 1
fi

# Start from an empty medium so that nothing stale from an earlier layout survives; a folder that holds something
# other than a medium is never emptied.
if [ -d "$OUT" ] && [ -n "$(ls -A "$OUT")" ] && [ ! -f "$OUT/Tarvik.exe" ]; then
  echo "make-dist: $OUT is not empty and holds no medium; refusing to replace it" >&2
  exit 1
fi
rm -rf "$OUT"
mkdir -p "$OUT/resource/Utilities"
cp "$LAUNCHER" "$OUT/Tarvik.exe"
cp "$MANUAL_SRC" "$OUT/resource/$MANUAL_NAME"
echo "make-dist: Tarvik.exe"
echo "make-dist: resource/$MANUAL_NAME"
if [ -f "$CONSOLE" ]; then
  cp "$CONSOLE" "$OUT/resource/Utilities/QXReader_CCID.exe"
  echo "make-dist: resource/Utilities/QXReader_CCID.exe"
else
  echo "make-dist: $CONSOLE not built: resource/Utilities/QXReader_CCID.exe left out (the launcher shows it disabled)"
fi
echo "make-dist: medium laid out in $OUT"
