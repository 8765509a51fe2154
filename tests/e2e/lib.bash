# Shared by the end-to-end tests: a player's folder, Xvfb, and the game window.
# The game reads its content from the source tree (through the build folder)
# and keeps the player's files in the work folder (--data-dir).
# Usage in a test: source lib.bash "$@"  (arguments: zarvel source-dir work-dir)

ZARVEL=$(realpath "$1")
SRC=$(realpath "$2")
WORK=$(realpath -m "$3")

fail() { echo "FAIL: $*" >&2; exit 1; }

# Re-run the calling script under its own X server, unless one was given.
if [ -z "${ZV_E2E_DISPLAY_READY:-}" ]; then
  export ZV_E2E_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi

rm -rf "$WORK"
mkdir -p "$WORK"
cd "$WORK"

# The player's own copy of a content file, made once, as a player who edits
# the configuration makes one. Argument: the path under the content folder.
own() {
  [ -e "$1" ] && return
  mkdir -p "$(dirname "$1")"
  cp "$SRC/$1" "$1"
}

# The game plays its sounds to nowhere, in real time.
export SDL_AUDIODRIVER=dummy

GAME_PID=
start_game() {  # arguments go to the game after --data-dir
  "$ZARVEL" --data-dir "$WORK" "$@" > game.out 2>&1 &
  GAME_PID=$!
  WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zarvel$' | head -1)
  [ -n "$WID" ] || fail "no window titled Zarvel"
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
}

# Waits for the game to end; its exit code goes to GAME_CODE.
wait_game() {
  for _ in $(seq 1 200); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$GAME_PID" 2>/dev/null; then
    kill -KILL "$GAME_PID"
    fail "the game did not end"
  fi
  wait "$GAME_PID"
  GAME_CODE=$?
}

# Input is polled once a frame, and a frame of the software renderer on a busy
# machine can take a few hundred milliseconds: presses and clicks are held
# for longer than that (well under the key repeat's one second).
press() {  # hold a key long enough for a polled keyboard to see it
  xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; sleep 0.2
}

click_at() {  # x y in client pixels
  xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.1
  xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.2
}

# From the main menu to level 1, solved with the fewest clicks computed from
# its file; then the record in the level file is checked and the completed
# board saved with F2. Arguments: SCALE OFFX OFFY of the picture in the window.
play_level_one() {
  SCALE=$1 OFFX=$2 OFFY=$3
  LEVELGEN="$(dirname "$ZARVEL")/levelgen"
  [ -x "$LEVELGEN" ] || fail "no levelgen next to the game"
  LEVEL="Assets/Scripts/Levels/zv.1.lvl"
  # The board as the game reads it: the player's copy once there is one.
  BOARD="$LEVEL"
  [ -e "$BOARD" ] || BOARD="$SRC/$LEVEL"

  read -r W H < "$BOARD"
  [ "$W" -le 4 ] && [ "$H" -le 3 ] || fail "level 1 is expected to use the first camera"
  # Window pixel of a block centre: camera at (-15, 0, 110) looking down -z,
  # 60 degrees vertical field of view, an 800 x 600 picture shown at SCALE with
  # its corner at (OFFX, OFFY).
  pixel() {
    awk -v i="$1" -v j="$2" -v w="$W" -v h="$H" -v s="$SCALE" -v ox="$OFFX" -v oy="$OFFY" 'BEGIN {
      x = i * 32 - (w * 32 * 0.5 - 16); y = j * 32 - (h * 32 * 0.5 - 16);
      t = sin(3.14159265 / 6) / cos(3.14159265 / 6);
      nx = (x + 15) / 110 / (t * 800 / 600); ny = y / 110 / t;
      printf "%d %d\n", ox + (nx + 1) * 400 * s, oy + (1 - ny) * 300 * s }'
  }

  press Return; sleep 1       # menu: play
  press Return; sleep 1.5     # level select: level 1
  click_at 60 560; sleep 0.5  # a click while getting ready starts play
  "$LEVELGEN" --solve "$BOARD" > clicks.txt || fail "level 1 has no solution"
  moves=$(wc -l < clicks.txt)
  while read -r c r; do
    click_at $(pixel "$c" "$r")
    sleep 0.6
  done < clicks.txt
  sleep 1
  press F2; sleep 0.5
  [ -f "Screen Shots/Zarvel Image 0.bmp" ] || fail "no screenshot of the completed board"
  convert "Screen Shots/Zarvel Image 0.bmp" completed.png

  # The record, in the player's folder: best time under the fresh 599999,
  # best moves = the clicks made.
  [ -f "$LEVEL" ] || fail "no record in the player's folder"
  mapfile -t lines < "$LEVEL"
  n=${#lines[@]}
  best_time=${lines[$((n - 3))]}
  par=${lines[$((n - 2))]}
  best_moves=${lines[$((n - 1))]}
  [ "$best_moves" = "$moves" ] || fail "best moves $best_moves, expected $moves (file: ${lines[*]})"
  [ "$best_time" -lt 599999 ] || fail "best time not saved: $best_time"
  [ "$par" = "$moves" ] || fail "par $par is not the fewest clicks $moves"
  [ ! -e "$LEVEL.tmp" ] || fail "the temporary file was left behind"
}
