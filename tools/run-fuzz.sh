#!/bin/bash
# Runs every fuzz target of a build folder for SECONDS seconds each, from the
# repository root (the engine targets read the shipped assets), and prints per
# target: executions, coverage (edges and features) and findings. A finding
# is an input libFuzzer saved (crash, leak, timeout, out of memory) under
# <build>/tests/fuzz/findings_<name>/; the run then fails. Keep each one as a
# regression case in tests/fuzz/regressions/<name>/ once it is mended.
# Usage: tools/run-fuzz.sh BUILD_DIR SECONDS
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$build/tests/fuzz
# No window and no sound card are needed: what the engine targets start of
# SDL runs on its offscreen and dummy drivers.
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

shopt -s nullglob
targets=()
for t in "$dir"/fuzz_*; do
  [ -f "$t" ] && [ -x "$t" ] && targets+=("$t")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets in $dir (clang++ and libclang-rt-14-dev are needed)" >&2
  exit 1
fi

failed=0
printf '%-8s %8s %12s %10s %8s %9s %s\n' target seconds executions exec/s edges features findings
for t in "${targets[@]}"; do
  name=${t##*/fuzz_}
  corpus=$dir/corpus_$name
  findings=$dir/findings_$name
  log=$dir/fuzz_$name.log
  mkdir -p "$corpus" "$findings"
  (cd "$root" && "$t" -max_total_time="$seconds" -print_final_stats=1 -max_len=16384 \
     -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1)
  rc=$?
  execs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
  rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$log")
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | awk '{print $2}')
  found=$(ls "$findings" | wc -l)
  printf '%-8s %8s %12s %10s %8s %9s %s\n' "$name" "$seconds" "${execs:-?}" "${rate:-?}" \
    "${edges:-?}" "${features:-?}" "$found"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    echo "  $name: exit $rc; log $log; inputs in $findings" >&2
    grep -m3 -E 'ERROR|runtime error|SUMMARY' "$log" | sed 's/^/  /' >&2
  fi
done
exit $failed
