#!/usr/bin/env bash
# Runs the demo: sim/demo.scenario in the simulated host of build 1.0.7.0 with the real
# plug-in, in a fresh BUILD_DIR/demo/. Leaves there the numbered screenshots, the trace
# and transcript.txt (per screenshot: the rows drawn, the highlighted one marked ">",
# and the help or notice text).
#   sim/run-demo.sh BUILD_DIR        (BUILD_DIR holds Wardrobe.asi, sim/ and wine-run.sh)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-demo.sh BUILD_DIR}" && pwd)
demo="$build/demo"

for needed in "$build/Wardrobe.asi" "$build/sim/hostsim-1070.exe" "$build/wine-run.sh" "$here/demo.scenario"; do
  [ -e "$needed" ] || { echo "run-demo: missing $needed" >&2; exit 2; }
done

rm -rf "$demo"
mkdir -p "$demo"
cp "$here/demo.scenario" "$demo/demo.scenario"
cd "$demo"

status=0
"$build/wine-run.sh" "$build/sim/hostsim-1070.exe" demo.scenario trace.jsonl || status=$?

# One transcript for the whole run, in screenshot order.
shopt -s nullglob
{
  echo "Demo transcript ($(date -u '+%Y-%m-%d %H:%M UTC'))"
  for picture in $(printf '%s\n' *.png | sort); do
    echo
    echo "== ${picture}"
    cat "${picture%.png}.txt" 2>/dev/null || echo "(no transcript)"
  done
} > transcript.txt.new
for picture in *.png; do rm -f "${picture%.png}.txt"; done
mv transcript.txt.new transcript.txt

pictures=(*.png)
echo "demo: ${#pictures[@]} screenshots in $demo/"
for picture in "${pictures[@]}"; do echo "  $demo/$picture"; done
echo "demo: transcript $demo/transcript.txt"
echo "demo: trace      $demo/trace.jsonl"
if [ "$status" -ne 0 ]; then
  echo "demo: the simulated host ended with status $status" >&2
  grep '"event":"error"' trace.jsonl >&2 || true
  exit "$status"
fi
if ! grep -q '"reason":"end"' trace.jsonl; then
  echo "demo: the scenario did not run to its end" >&2
  tail -n 3 trace.jsonl >&2
  exit 1
fi
