#!/bin/bash
# From the main menu to level 1, solved with the fewest clicks computed from
# its file; the completed board is saved as a screenshot and the level file
# is rewritten with the new record. Then the menu's Quit ends the program.
source "$(dirname "$0")/lib.bash" "$@"
start_game
sleep 2
play_level_one 1 0 0
# Back to the menu, down to Quit: the program ends with code 18.
press Escape; sleep 1
press Escape; sleep 1
press Down; press Down; press Down
press Return
wait_game
[ "$GAME_CODE" = 18 ] || fail "the menu's Quit gave exit code $GAME_CODE"
echo PASS
