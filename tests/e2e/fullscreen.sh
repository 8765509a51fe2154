#!/bin/bash
# "[FULLSCREEN] TRUE": the window covers the 1280 x 1024 screen, the 800 x 600
# picture is scaled by 1.6 between black bars, and the pointer still lands on
# the block under it: level 1 is solved by clicks at the scaled positions.
source "$(dirname "$0")/lib.bash" "$@"
own Assets/Scripts/Config/qnengine.cfg
sed -i 's/^\[FULLSCREEN\].*/[FULLSCREEN] TRUE/' Assets/Scripts/Config/qnengine.cfg

start_game
sleep 2
geometry=$(xwininfo -id "$WID")
echo "$geometry" | grep -q "Width: 1280" || fail "not full screen: $geometry"
echo "$geometry" | grep -q "Height: 1024" || fail "not full screen: $geometry"
play_level_one 1.6 0 32
identify "Screen Shots/Zarvel Image 0.bmp" | grep -q " 800x600 " || fail "the screenshot is not the 800x600 back buffer"

kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
echo PASS
