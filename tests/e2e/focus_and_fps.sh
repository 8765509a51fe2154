#!/bin/bash
# F1 shows the frame counter at the top left. Without the focus the game runs
# no frames and does not spin: it waits, using next to no processor time, and
# runs again once the focus is back.
source "$(dirname "$0")/lib.bash" "$@"

# Bright pixels in the band where the counter is drawn (x 0-199, y 3-21).
bright() {
  import -window "$WID" band.png
  convert band.png -crop 200x19+0+3 +repage -colorspace Gray -threshold 60% \
    -format '%[fx:int(mean*w*h+0.5)]' info:
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

start_game
A_PID=$GAME_PID
A_WID=$WID
sleep 2
before=$(bright)
press F1
sleep 1.5
after=$(bright)
[ "$after" -gt $((before + 40)) ] || fail "no frame counter at the top left ($before -> $after bright pixels)"

# A second game in its own folder takes the focus.
mkdir -p second
(cd second && exec "$ZARVEL" --data-dir "$WORK/second" > game.out 2>&1) &
B_PID=$!
for _ in $(seq 1 30); do  # a busy machine may take a while to show it
  sleep 0.5
  B_WID=$(xdotool search --onlyvisible --name '^Zarvel$' | grep -v "^$A_WID\$" | head -1)
  [ -n "$B_WID" ] && break
done
[ -n "$B_WID" ] || fail "the second window did not appear"
xdotool windowfocus --sync "$B_WID"
sleep 1
t0=$(cpu_ticks "$A_PID")
sleep 3
t1=$(cpu_ticks "$A_PID")
used=$((t1 - t0))  # in 1/100 s over 3 s
[ "$used" -lt 30 ] || fail "without the focus the game used $used/300 of a core"

xdotool windowfocus --sync "$A_WID"
sleep 0.5
t0=$(cpu_ticks "$A_PID")
sleep 2
t1=$(cpu_ticks "$A_PID")
[ $((t1 - t0)) -gt 20 ] || fail "the game did not run again with the focus"

kill -TERM "$B_PID"
wait "$B_PID" || true
kill -TERM "$A_PID"
wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
echo PASS
