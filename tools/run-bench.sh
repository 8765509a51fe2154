#!/bin/bash
# Runs every benchmark program built from bench/ and prints its figures.
set -euo pipefail
BUILD=$(realpath "$1")
cd "$(dirname "$0")/.."
for b in "$BUILD"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
