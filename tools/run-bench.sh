#!/bin/bash
# Runs every benchmark program built from bench/ and prints its figures.
# bench_scene runs once per scene (each beside its floor); its figures go
# to BUILD/bench.json (one object per scene; the run before is kept as
# BUILD/bench.previous.json) and a summary table ends the output.
#   tools/run-bench.sh BUILD [frames]
set -euo pipefail
BUILD=$(realpath "$1")
FRAMES=${2:-300}
cd "$(dirname "$0")/.."
for b in "$BUILD"/bench_*; do
  [ -x "$b" ] || continue
  [ "$(basename "$b")" = bench_scene ] && continue
  echo "== $(basename "$b")"
  "$b"
done
if [ -x "$BUILD/bench_scene" ]; then
  lines=$(mktemp) summary=$(mktemp)
  trap 'rm -f "$lines" "$summary"' EXIT
  for scene in $("$BUILD/bench_scene" --list); do
    echo "== bench_scene $scene"
    "$BUILD/bench_scene" "$scene" "$FRAMES" --json "$lines" --summary "$summary"
  done
  [ -f "$BUILD/bench.json" ] && mv "$BUILD/bench.json" "$BUILD/bench.previous.json"
  { echo "["; sed '$!s/$/,/' "$lines"; echo "]"; } > "$BUILD/bench.json"
  echo
  echo "Summary (ms; ratio: engine mean / floor mean, wall clock; cpu: the same for the CPU"
  echo "time of all threads; work: engine main-thread CPU per frame; start in s)"
  printf '%-20s %7s %7s %7s %6s %6s %6s %7s %6s %6s %6s %6s\n' scene mean p99 floor ratio cpu draws states allocs work start change
  cat "$summary"
  echo "Figures written to $BUILD/bench.json"
fi
