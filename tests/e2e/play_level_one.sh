#!/bin/bash
# From the main menu to level 1, solved with the fewest clicks computed from
# its file; the completed board is saved as a screenshot and the level file
# is rewritten with the new record.
source "$(dirname "$0")/lib.bash" "$@"
LEVELGEN="$(dirname "$ZARVEL")/levelgen"
[ -x "$LEVELGEN" ] || fail "no levelgen next to the game"
LEVEL="Assets/Scripts/Levels/zv.1.lvl"

read -r W H < "$LEVEL"
[ "$W" -le 4 ] && [ "$H" -le 3 ] || fail "level 1 is expected to use the first camera"
# Screen pixel of a block centre: camera at (-15, 0, 110) looking down -z,
# 60 degrees vertical field of view, 800 x 600.
pixel() {
  awk -v i="$1" -v j="$2" -v w="$W" -v h="$H" 'BEGIN {
    x = i * 32 - (w * 32 * 0.5 - 16); y = j * 32 - (h * 32 * 0.5 - 16);
    t = sin(3.14159265 / 6) / cos(3.14159265 / 6);
    nx = (x + 15) / 110 / (t * 800 / 600); ny = y / 110 / t;
    printf "%d %d\n", (nx + 1) * 400, (1 - ny) * 300 }'
}

start_game
sleep 2
press Return; sleep 1       # menu: play
press Return; sleep 1.5     # level select: level 1
click_at 60 560; sleep 0.5  # a click while getting ready starts play
"$LEVELGEN" --solve "$LEVEL" > clicks.txt || fail "level 1 has no solution"
moves=$(wc -l < clicks.txt)
while read -r c r; do
  click_at $(pixel "$c" "$r")
  sleep 0.6
done < clicks.txt
sleep 1
press F2; sleep 0.5
[ -f "Screen Shots/Zarvel Image 0.bmp" ] || fail "no screenshot of the completed board"
convert "Screen Shots/Zarvel Image 0.bmp" completed.png

# The record: best time under the fresh 599999, best moves = the clicks made.
mapfile -t lines < "$LEVEL"
n=${#lines[@]}
best_time=${lines[$((n - 3))]}
par=${lines[$((n - 2))]}
best_moves=${lines[$((n - 1))]}
[ "$best_moves" = "$moves" ] || fail "best moves $best_moves, expected $moves (file: ${lines[*]})"
[ "$best_time" -lt 599999 ] || fail "best time not saved: $best_time"
[ "$par" = "$moves" ] || fail "par $par is not the fewest clicks $moves"
[ ! -e "$LEVEL.tmp" ] || fail "the temporary file was left behind"

kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
echo PASS
