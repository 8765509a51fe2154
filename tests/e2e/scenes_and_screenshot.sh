#!/bin/bash
# Enter and Escape move between the menu, the level select and a level; F2
# saves the presented frame as a numbered BMP that matches the window.
source "$(dirname "$0")/lib.bash" "$@"

shot_count() { ls "Screen Shots" | grep -c '^Zarvel Image [0-9]*\.bmp$' || true; }

# A screenshot of the window taken by X, and the one the game saves, must agree.
start_game
sleep 2
press F2
sleep 0.5
[ "$(shot_count)" = 1 ] || fail "F2 did not save one screenshot"
[ -f "Screen Shots/Zarvel Image 0.bmp" ] || fail "the first screenshot is not number 0"
identify "Screen Shots/Zarvel Image 0.bmp" | grep -q " 800x600 " || fail "the screenshot is not 800x600"
import -window "$WID" x-window.png
diff=$(compare -metric AE -fuzz 2% "Screen Shots/Zarvel Image 0.bmp" x-window.png null: 2>&1 || true)
# Sparkles and turning tiles move between the two grabs: allow 2 % of the pixels.
[ "${diff%% *}" -lt 9600 ] 2>/dev/null || fail "screenshot differs from the window in $diff pixels"
menu=$(convert "Screen Shots/Zarvel Image 0.bmp" -format '%#' info:)

# Menu -> level select (the first entry is chosen) -> level -> level select -> menu.
press Return; sleep 1.5; press F2; sleep 0.5
press Return; sleep 1.5; press F2; sleep 0.5
press Escape; sleep 1.5
press Escape; sleep 1.5; press F2; sleep 0.5
[ "$(shot_count)" = 4 ] || fail "expected 4 screenshots, found $(shot_count)"
lvlsel=$(convert "Screen Shots/Zarvel Image 1.bmp" -format '%#' info:)
level=$(convert "Screen Shots/Zarvel Image 2.bmp" -format '%#' info:)
[ "$menu" != "$lvlsel" ] || fail "Enter in the menu did not change the scene"
[ "$lvlsel" != "$level" ] || fail "Enter in the level select did not start a level"

# The numbering fills the first gap.
rm "Screen Shots/Zarvel Image 1.bmp"
press F2; sleep 0.5
[ -f "Screen Shots/Zarvel Image 1.bmp" ] || fail "the screenshot did not fill the gap at 1"

kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
grep -q "Congratulations! No memory leaks found!" Logs/QNMemleaks.log || fail "leaks after a scene tour"
echo PASS
