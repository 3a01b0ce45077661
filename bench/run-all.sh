#!/usr/bin/env bash
# Runs every benchmark of a build tree under Wine and prints its report.
set -uo pipefail
build=${1:?build directory}
shopt -s nullglob
for exe in "$build"/bench/bench_*.exe; do
  echo "-- $(basename "$exe" .exe)"
  (cd "$build/bench" && "$build/wine-run.sh" "$exe") || echo "   (benchmark failed: exit $?)"
done
