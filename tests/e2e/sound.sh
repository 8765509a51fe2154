#!/bin/bash
# Through the disk audio driver: the music plays from start-up; with CD
# playback chosen and no drive there is no music, one line in the result log,
# and a click is heard for every menu choice and block hit.
source "$(dirname "$0")/lib.bash" "$@"

# Burst count of a raw S16LE stereo 44.1 kHz file: 20 ms windows louder than
# the threshold, counted once per run of loud windows.
bursts() {
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -t dat - 2>/dev/null | awk '
    /^;/ { next }
    { s = ($2 < 0 ? -$2 : $2); if (s > peak) peak = s; n++
      if (n == 882) { loud = (peak > 0.05); if (loud && !was) b++; was = loud; n = 0; peak = 0 } }
    END { print b + 0 }'
}

export SDL_AUDIODRIVER=disk

# 1. Music from start-up.
export SDL_DISKAUDIOFILE="$WORK/music.raw"
start_game
sleep 4
kill -TERM "$GAME_PID"; wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
stats=$(sox -t raw -r 44100 -e signed -b 16 -c 2 music.raw -n stat 2>&1)
len=$(echo "$stats" | awk '/Length/ {print $3}')
rms=$(echo "$stats" | awk '/RMS.*amplitude/ {print $3}')
awk -v l="$len" 'BEGIN { exit !(l > 2.5) }' || fail "only $len s of audio written"
awk -v r="$rms" 'BEGIN { exit !(r > 0.02) }' || fail "the music is not heard (RMS $rms)"

# 2. No CD drive: silence but for the clicks.
own Assets/Scripts/Config/qnengine.cfg
sed -i 's/^\[CDPLAYBACK\].*/[CDPLAYBACK] TRUE/' Assets/Scripts/Config/qnengine.cfg
export SDL_DISKAUDIOFILE="$WORK/clicks.raw"
start_game
sleep 1.5
press Return; sleep 1        # menu: play        -> click 1
press Return; sleep 1.5      # level 1           -> click 2
click_at 60 560; sleep 0.8   # starts play (no sound)
click_at 471 300; sleep 0.8  # the centre block  -> click 3
click_at 471 300; sleep 0.8  # again             -> click 4
sleep 0.5
kill -TERM "$GAME_PID"; wait_game
[ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
n=$(bursts clicks.raw)
[ "$n" = 4 ] || fail "heard $n clicks, expected 4"
[ "$(grep -c 'No audio CD to play' Logs/QNResultLog.htm)" = 1 ] || fail "the missing CD is not logged once"
echo PASS
