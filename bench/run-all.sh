#!/usr/bin/env bash
# Runs every benchmark of a build tree under Wine and prints its report:
#   bench/run-all.sh BUILD --brief            each briefly (./build.sh test)
#   bench/run-all.sh BUILD [--soak-frames N]  each in full, the soak for N frames
#                                             (./build.sh bench)
set -uo pipefail
build=${1:?build directory}
shift
brief=0
soak=()
while [ $# -gt 0 ]; do
  case "$1" in
    --brief) brief=1 ;;
    --soak-frames) soak=(--soak-frames "${2:?--soak-frames needs a frame count}"); shift ;;
    *) echo "bench/run-all.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
if [ "${WARDROBE_IN_GUEST:-0}" = 1 ]; then
  echo "(run in the emulated x86-64 guest: times are many times a machine's and not comparable"
  echo " with figures taken on one; ratios within this run still are)"
fi
shopt -s nullglob
for exe in "$build"/bench/bench_*.exe; do
  name=$(basename "$exe" .exe)
  options=()
  if [ "$brief" = 1 ]; then
    options=(--brief)
  elif [ "$name" = bench_soak ]; then
    options=("${soak[@]}")
  fi
  echo "-- $name${options[*]:+ ${options[*]}}"
  started=$SECONDS
  (cd "$build/bench" && "$build/wine-run.sh" "$exe" "${options[@]}") || echo "   (benchmark failed: exit $?)"
  echo "   ($((SECONDS - started)) s)"
done
