#!/bin/bash
# Plays the real game under Xvfb for a number of minutes with scripted input,
# round after round: the main menu with its options and credits panels, F1
# and F2, the level select, then levels in turn, each solved with the fewest
# clicks from its file and followed by the next level, and back to the menu.
# At the end the menu's Quit must end the program with exit code 18, and:
#   - the game never died;
#   - the result log holds no row but the expected ones;
#   - the memory tracker's live allocations and the resident memory, sampled
#     in the menu at the start of each round, are flat after the warm-up;
#   - every record the game wrote is a valid level file with the new record;
#   - the leak report congratulates.
# Usage: soak.sh ZARVEL SOURCE-DIR WORK-DIR MINUTES
source "$(dirname "$0")/../e2e/lib.bash" "$@"
MINUTES=${4:-1}
LEVELGEN="$(dirname "$ZARVEL")/levelgen"
[ -x "$LEVELGEN" ] || fail "no levelgen next to the game"
command -v gdb > /dev/null || fail "gdb is needed to read the memory tracker's count"

# A polled keyboard and mouse must see each press in some frame, even with a
# slow software renderer on a busy machine: hold longer than lib.bash does
# (and well under the key repeat's one second).
hold() { xdotool keydown "$1"; sleep 0.4; xdotool keyup "$1"; sleep 0.3; }
click() {
  xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.1
  xdotool mousedown 1; sleep 0.5; xdotool mouseup 1; sleep 0.2
}
alive() {
  kill -0 "$GAME_PID" 2>/dev/null && return
  tail -20 game.out >&2
  fail "the game died ($*)"
}

# Window pixel of the block centre (column, row) of a W x H board: the level
# places its camera by the board size, 60 degrees vertical field of view, an
# 800 x 600 picture, blocks in the plane z = 0.
pixel() {
  awk -v i="$1" -v j="$2" -v w="$3" -v h="$4" 'BEGIN {
    if (w <= 4 && h <= 3) { ex = -15; ez = 110 }
    else if (w <= 5 && h <= 4) { ex = -17; ez = 130 }
    else { ex = -20; ez = 160 }
    x = i * 32 - (w * 32 * 0.5 - 16); y = j * 32 - (h * 32 * 0.5 - 16);
    t = sin(3.14159265 / 6) / cos(3.14159265 / 6);
    nx = (x - ex) / ez / (t * 800 / 600); ny = y / ez / t;
    printf "%d %d\n", (nx + 1) * 400, (1 - ny) * 300 }'
}

level_file() { echo "Assets/Scripts/Levels/zv.$1.lvl"; }
# The player's own copies of the level files: the soak rewrites their records.
for n in $(seq 1 40); do own "$(level_file "$n")"; done

# Gives a level file a fresh record (keeping its board and par) so that the
# next solve of it must write a new one: every level played is also a save.
fresh_record() {
  local f; f=$(level_file "$1")
  mapfile -t lines < "$f"
  n=${#lines[@]}
  { printf '%s\n' "${lines[@]:0:$((n - 3))}"; printf '599999\n%s\n999\n' "${lines[$((n - 2))]}"; } > "$f.soak"
  mv "$f.soak" "$f"
}

# A written record must be a whole level file: the board as before, a best
# time under the fresh one, the par, and best moves equal to the clicks.
check_record() {  # level clicks
  local f; f=$(level_file "$1")
  read -r w h < "$f"
  mapfile -t lines < "$f"
  [ "${#lines[@]}" = $((1 + h + 3)) ] || fail "level $1: ${#lines[@]} lines after the save"
  for ((r = 1; r <= h; r++)); do
    [[ "${lines[$r]}" =~ ^([01]\ ){$w}$ ]] || fail "level $1: row '${lines[$r]}'"
  done
  local t=${lines[$((h + 1))]} p=${lines[$((h + 2))]} m=${lines[$((h + 3))]}
  [[ "$t" =~ ^[0-9]+$ ]] && [ "$t" -lt 599999 ] || fail "level $1: best time '$t'"
  [ "$p" = "$2" ] || fail "level $1: par $p, solved in $2"
  [ "$m" = "$2" ] || fail "level $1: best moves $m, expected $2"
  [ ! -e "$f.tmp" ] || fail "level $1: a temporary file was left"
  RECORDS=$((RECORDS + 1))
}

# Solves the level on screen (phase: getting ready) and waits for its record;
# fails (status 1) when no record comes.
play_level() {
  local L=$1 f; f=$(level_file "$1")
  "$LEVELGEN" --solve "$f" > clicks.txt || fail "level $L has no solution"
  read -r w h < "$f"
  local before; before=$(stat -c %Y.%s "$f")
  local old; old=$(cat "$f")
  click 60 560; sleep 0.3      # a click while getting ready starts play
  local clicks=0
  while read -r c r; do
    click $(pixel "$c" "$r" "$w" "$h")
    clicks=$((clicks + 1))
  done < clicks.txt
  for _ in $(seq 1 100); do
    [ "$(cat "$f")" != "$old" ] && break
    sleep 0.1
  done
  [ "$(cat "$f")" != "$old" ] || return 1
  sleep 0.2                   # the file is complete once renamed into place
  check_record "$L" "$clicks"
  alive "level $L"
  LEVELS=$((LEVELS + 1))
}

live_units() {
  gdb -p "$GAME_PID" -batch -nx -ex "print '(anonymous namespace)::g_liveUnits'" 2>/dev/null |
    sed -n 's/^\$1 = //p'
}
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status"; }

# Back to the main menu's first line from wherever a missed press left the
# game: Escape leaves a level and the level select and does nothing in the
# menu; the selection stops at the top.
to_menu() {
  hold Escape; hold Escape; hold Escape
  hold Up; hold Up; hold Up; hold Up
}

# True once the game has read the level file since fresh_record wrote it
# (its access time passes its change time).
level_read() {
  local f; f=$(level_file "$1")
  [[ "$(stat -c %x "$f")" > "$(stat -c %y "$f")" ]]
}
wait_level_read() {
  for _ in $(seq 1 60); do
    level_read "$1" && return 0
    sleep 0.1
  done
  return 1
}

# From anywhere to level L getting ready (m_level is L), through the menu's
# Play and the level select.
start_level() {
  local L=$1
  for _ in 1 2 3; do
    to_menu
    fresh_record "$L"
    hold Return; sleep 1      # Play: the level select
    hold Return               # the level
    wait_level_read "$L" && { sleep 0.5; return 0; }
    RETRIES=$((RETRIES + 1))
    alive "starting level $L"
  done
  fail "level $L was not started in three tries"
}

# The completed level L-1 on screen: Enter loads level L.
next_level() {
  local L=$1
  fresh_record "$L"
  for _ in 1 2 3; do
    hold Return
    wait_level_read "$L" && { sleep 0.5; return 0; }
    RETRIES=$((RETRIES + 1))
    alive "going on to level $L"
  done
  fail "level $L did not follow in three tries"
}

menu_round() {
  hold Down; hold Return      # options shown
  hold Down; hold Return      # options hidden by the move, credits shown
  hold Return                 # credits hidden
  to_menu
  hold F1
  for _ in 1 2 3; do
    hold F2
    for _ in $(seq 1 50); do
      [ -f "Screen Shots/Zarvel Image 0.bmp" ] && break
      sleep 0.1
    done
    [ -f "Screen Shots/Zarvel Image 0.bmp" ] && break
    RETRIES=$((RETRIES + 1))
  done
  [ -f "Screen Shots/Zarvel Image 0.bmp" ] || fail "F2 saved no screenshot in three tries"
  sleep 0.5                   # written in full
  rm -f "Screen Shots/"*.bmp
  alive "menu"
}

RECORDS=0 LEVELS=0 ROUNDS=0 RETRIES=0
LEVEL=1
LIVE=() RSS=()
start_game
sleep 3
end=$(( $(date +%s) + MINUTES * 60 ))
while [ "$(date +%s)" -lt "$end" ]; do
  to_menu
  LIVE+=("$(live_units)")
  RSS+=("$(rss_kb)")
  [ -n "${LIVE[-1]}" ] || fail "could not read the live allocation count"
  echo "round $ROUNDS at $(date -u +%T): live ${LIVE[-1]}, resident ${RSS[-1]} KiB, levels solved $LEVELS, presses repeated $RETRIES"
  menu_round
  start_level "$LEVEL"
  for k in 1 2; do
    # A click the polled input never saw (a frame longer than the press, on
    # a busy machine) leaves the board unsolved: start the level again.
    tries=0
    until play_level "$LEVEL"; do
      tries=$((tries + 1)) RETRIES=$((RETRIES + 1))
      [ "$tries" -le 5 ] || fail "level $LEVEL: no record saved after six tries"
      start_level "$LEVEL"
    done
    LEVEL=$((LEVEL % 40 + 1))
    next_level "$LEVEL"
  done
  alive "round $ROUNDS"
  ROUNDS=$((ROUNDS + 1))
done
to_menu
LIVE+=("$(live_units)")
RSS+=("$(rss_kb)")

# Quit from the menu: down to the last line (it stops there), then Enter.
# (A missed press here shows as a game that does not end.)
hold Down; hold Down; hold Down; hold Down; hold Return
wait_game
[ "$GAME_CODE" = 18 ] || fail "the menu's Quit gave exit code $GAME_CODE, expected 18"

n=${#LIVE[@]}
w=$(( n > 3 ? n / 3 : 1 ))    # the first third of the samples is the warm-up
echo "rounds $ROUNDS, levels solved $LEVELS, records checked $RECORDS, presses repeated $RETRIES, samples $n"
echo "live allocations: first ${LIVE[0]}, after warm-up ${LIVE[$w]:-${LIVE[-1]}}, last ${LIVE[-1]}, all: ${LIVE[*]}"
echo "resident KiB:     first ${RSS[0]}, after warm-up ${RSS[$w]:-${RSS[-1]}}, last ${RSS[-1]}, all: ${RSS[*]}"
[ "$n" -ge 3 ] || fail "too short a run for a trend ($n samples)"
base_live=${LIVE[$w]} base_rss=${RSS[$w]}
for ((s = w; s < n; s++)); do
  [ $((LIVE[s] - base_live)) -le 16 ] || fail "live allocations grow after the warm-up: ${LIVE[*]}"
  [ $((RSS[s] - base_rss)) -le 16384 ] || fail "resident memory grows after the warm-up: ${RSS[*]}"
done

# The result log: its fixed head, the header row and tail, and only the rows
# listed in SOAK_EXPECTED_ROWS (a regular expression) in between.
rows=$(grep -c '^<tr>' Logs/QNResultLog.htm)
unexpected=$(awk '/^<tr>/ {row = ""; inrow = 1} inrow {row = row $0} /^<\/tr>/ && inrow {print row; inrow = 0}' \
  Logs/QNResultLog.htm | tail -n +2 | grep -Ev "${SOAK_EXPECTED_ROWS:-^$}" || true)
[ -z "$unexpected" ] || fail "unexpected rows in the result log ($rows rows): $unexpected"
grep -q '</html>' Logs/QNResultLog.htm || fail "the result log was not closed"
grep -q "Congratulations! No memory leaks found!" Logs/QNMemleaks.log || {
  cat Logs/QNMemleaks.log >&2
  fail "the leak report lists leaks"
}
! grep -q '^\[!\]' Logs/QNMemory.log || fail "the memory log holds errors: $(grep '^\[!\]' Logs/QNMemory.log | head -3)"
ls Assets/Scripts/Levels/*.tmp > /dev/null 2>&1 && fail "temporary level files were left"
echo PASS
