#!/usr/bin/env bash
# Runs every benchmark: native ones from the Release tree (build/bench), Windows ones under Wine.
# Benchmarks print figures (throughput and ratios against a baseline measured in the same run).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
# The Windows benchmarks run on the build that Wine runs here (i686, or x86_64 on machines that run no
# 32-bit code).
. "$ROOT/scripts/wine-env.sh" || exit 2
echo "run-bench: Windows benchmarks on the $QX_WIN_ARCH build (build/$QX_WIN_TREE)"
status=0
while IFS= read -r b; do
  echo "== ${b#$ROOT/}"
  "$b" || status=1
done < <(find "$ROOT/build/bench/bench" -type f -executable -name '*_bench' 2>/dev/null | sort)
mapfile -t winbench < <(find "$ROOT/build/$QX_WIN_TREE/bench" -type f -name '*_bench.exe' 2>/dev/null | sort)
for b in "${winbench[@]}"; do
  echo "== ${b#$ROOT/}"
  if [ -f "$(dirname "$b")/winscard.dll" ]; then
    # Benchmarks beside the rig's winscard.dll talk to a card: run them on a rig of their own.
    QX_RIG_DIR=$ROOT/build/bench-rig "$ROOT/scripts/with-display.sh" "$ROOT/scripts/rig.sh" wine "$b" || status=1
    QX_RIG_DIR=$ROOT/build/bench-rig "$ROOT/scripts/rig.sh" stop --purge >/dev/null
  else
    "$ROOT/scripts/with-display.sh" "$ROOT/scripts/wine-run.sh" "$b" || status=1
  fi
done
exit $status
