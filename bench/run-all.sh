#!/usr/bin/env bash
# Runs every benchmark of a build tree under Wine and prints its report.
set -uo pipefail
build=${1:?build directory}
if [ "${WARDROBE_IN_GUEST:-0}" = 1 ]; then
  echo "(run in the emulated x86-64 guest: times are many times a machine's and not comparable"
  echo " with figures taken on one; ratios within this run still are)"
fi
shopt -s nullglob
for exe in "$build"/bench/bench_*.exe; do
  echo "-- $(basename "$exe" .exe)"
  (cd "$build/bench" && "$build/wine-run.sh" "$exe") || echo "   (benchmark failed: exit $?)"
done
