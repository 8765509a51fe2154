# Shared by the end-to-end tests: a game folder, Xvfb, and the game window.
# Usage in a test: source lib.bash "$@"  (arguments: zarvel source-dir work-dir)

ZARVEL=$(realpath "$1")
SRC=$(realpath "$2")
WORK=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

# Re-run the calling script under its own X server, unless one was given.
if [ -z "${ZV_E2E_DISPLAY_READY:-}" ]; then
  export ZV_E2E_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi

rm -rf "$WORK"
mkdir -p "$WORK/Logs" "$WORK/Screen Shots"
cp -r "$SRC/Assets" "$WORK/Assets"
cd "$WORK"

# The game plays its sounds to nowhere, in real time.
export SDL_AUDIODRIVER=dummy

GAME_PID=
start_game() {
  "$ZARVEL" > game.out 2>&1 &
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

press() {  # hold a key long enough for a polled keyboard to see it
  xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.1
}

click_at() {  # x y in client pixels
  xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.1
  xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.1
}
