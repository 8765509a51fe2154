#!/bin/bash
# From the main menu to level 1, solved with the fewest clicks computed from
# its file; the completed board is saved as a screenshot and the level file
# is rewritten with the new record.
source "$(dirname "$0")/lib.bash" "$@"
start_game
sleep 2
play_level_one 1 0 0
kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
echo PASS
