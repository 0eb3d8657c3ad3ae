#!/usr/bin/env bash
# Runs every benchmark: native ones from the Release tree (build/bench), Windows ones under Wine.
# Benchmarks print figures (throughput and ratios against a baseline measured in the same run).
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
status=0
while IFS= read -r b; do
  echo "== ${b#$ROOT/}"
  "$b" || status=1
done < <(find "$ROOT/build/bench/bench" -type f -executable -name '*_bench' 2>/dev/null | sort)
mapfile -t winbench < <(find "$ROOT/build/win32/bench" -type f -name '*_bench.exe' 2>/dev/null | sort)
for b in "${winbench[@]}"; do
  echo "== ${b#$ROOT/}"
  if [ -x "${b%.exe}.sh" ]; then
    "${b%.exe}.sh" || status=1          # a benchmark that needs its own set-up (the card rig) brings a script
  else
    "$ROOT/scripts/with-display.sh" "$ROOT/scripts/wine-run.sh" "$b" || status=1
  fi
done
exit $status
