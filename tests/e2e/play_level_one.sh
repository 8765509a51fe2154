#!/bin/bash
# From the main menu to level 1, solved with the fewest clicks computed from
# its file; the completed board is saved as a screenshot and the level file
# is rewritten with the new record. Then the menu's Quit ends the program.
source "$(dirname "$0")/lib.bash" "$@"
start_game
sleep 2
play_level_one 1 0 0
# Back to the menu (Escape does nothing there), down to Quit (the selection
# stops there): the program ends with code 18. Presses are held long enough
# for a slow frame.
hold() { xdotool keydown "$1"; sleep 0.4; xdotool keyup "$1"; sleep 0.4; }
hold Escape; hold Escape; hold Escape
hold Down; hold Down; hold Down; hold Down
hold Return
wait_game
[ "$GAME_CODE" = 18 ] || fail "the menu's Quit gave exit code $GAME_CODE"
echo PASS
