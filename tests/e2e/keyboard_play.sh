#!/bin/bash
# Level 1 played from the main menu with the keyboard alone: the highlight
# walks to each block of the fewest clicks and Space flips it; the record is
# saved. Then M mutes: the configuration gains [MUTE] TRUE and keeps every
# other byte, and a second M writes FALSE.
source "$(dirname "$0")/lib.bash" "$@"
LEVELGEN="$(dirname "$ZARVEL")/levelgen"
LEVEL="Assets/Scripts/Levels/zv.1.lvl"
CONFIG="Assets/Scripts/Config/qnengine.cfg"
own "$LEVEL"; own "$CONFIG"
cp "$CONFIG" config.before
"$LEVELGEN" --solve "$LEVEL" > clicks.txt || fail "level 1 has no solution"
moves=$(wc -l < clicks.txt)
read -r W H < "$LEVEL"

start_game
sleep 2
press Return; sleep 1       # menu: play
press Return; sleep 1.5     # level select: level 1
press Return; sleep 0.5     # get ready: start
# The first arrow shows the highlight on the middle block without moving it.
press Left; col=$((W / 2)); row=$((H / 2))
while read -r c r; do
  while [ "$col" -lt "$c" ]; do press Right; col=$((col + 1)); done
  while [ "$col" -gt "$c" ]; do press Left; col=$((col - 1)); done
  while [ "$row" -lt "$r" ]; do press Up; row=$((row + 1)); done
  while [ "$row" -gt "$r" ]; do press Down; row=$((row - 1)); done
  press space; sleep 0.6
done < clicks.txt
sleep 0.5
mapfile -t lines < "$LEVEL"
n=${#lines[@]}
[ "${lines[$((n - 1))]}" = "$moves" ] || fail "best moves ${lines[$((n - 1))]}, expected $moves"
[ "${lines[$((n - 3))]}" -lt 599999 ] || fail "best time not saved"

press m; sleep 0.5
{ cat config.before; echo "[MUTE] TRUE"; } > config.muted
cmp -s "$CONFIG" config.muted || fail "configuration after M: $(diff config.muted "$CONFIG")"
grep -q "CQNConfigFile" Logs/QNResultLog.htm && fail "writing the mute failed"
press m; sleep 0.5
{ cat config.before; echo "[MUTE] FALSE"; } > config.unmuted
cmp -s "$CONFIG" config.unmuted || fail "configuration after a second M: $(diff config.unmuted "$CONFIG")"

kill -TERM "$GAME_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
echo PASS
