#!/usr/bin/env bash
# The launcher's artwork is drawn at build time; two runs of the generator must give the same bytes, and the
# background must be the 640 x 480 GIF that the dialog stretches.
set -euo pipefail
script=$1 convert=$2 font=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$script" --out "$work/a" --convert "$convert" --font "$font"
python3 "$script" --out "$work/b" --convert "$convert" --font "$font"
count=0
for f in "$work"/a/*; do
  cmp "$f" "$work/b/$(basename "$f")"
  count=$((count + 1))
done
[ "$count" -eq 10 ] || { echo "expected 10 artwork files, got $count"; exit 1; }
[ "$(head -c 6 "$work/a/background.gif")" = "GIF89a" ] || { echo "background is not a GIF89a file"; exit 1; }
size=$(od -An -tu2 -j6 -N4 "$work/a/background.gif" | tr -s ' ')
[ "$size" = " 640 480" ] || { echo "background is$size, not 640 480"; exit 1; }
echo "artwork: $count files, identical over two runs"
