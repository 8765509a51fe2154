#!/bin/bash
# levelgen --solve on files written with the separators and cell values the
# game accepts: commas and semicolons, a cell 2 (the front face, as the game
# shows it). Usage: levelgen_solve.sh LEVELGEN WORKDIR
set -u
levelgen=$1 work=$2
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }
# One click on the centre of a 3 x 3 board solves the cross; written with
# commas and a 2 it must give the same answer as the plain layout.
printf '3 3\n0 1 0\n1 1 1\n0 1 0\n599999\n1\n999\n' > "$work/plain.lvl"
printf '3,3\n0,2,0;1,1,1\n0,1,0\n599999,1,999\n' > "$work/commas.lvl"
plain=$("$levelgen" --solve "$work/plain.lvl") || fail "plain file refused"
[ "$plain" = "1 1" ] || fail "plain file: '$plain'"
commas=$("$levelgen" --solve "$work/commas.lvl") || fail "comma file refused"
[ "$commas" = "$plain" ] || fail "comma file: '$commas'"
# A file the game refuses is refused, with the game's reason.
printf '7 3\n' > "$work/wide.lvl"
if err=$("$levelgen" --solve "$work/wide.lvl" 2>&1); then fail "7 x 3 board accepted"; fi
case $err in *"7 x 3"*) ;; *) fail "reason: $err" ;; esac
echo PASS
