#!/bin/bash
# Refreshes docs/screenshot.png, the README's picture of the game in play,
# and docs/screenshot-menu.png, the main menu (the AppStream metadata shows
# both): runs the built game under Xvfb, saves the menu with the game's own
# F2 screenshot, opens level 5, starts play, flips one cross of blocks and
# saves that frame too.
#   tools/readme-screenshot.sh [build folder]      (default: build)
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath "${1:-$SRC/build}")
if [ -z "${ZV_SHOT_DISPLAY:-}" ]; then
  export ZV_SHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$BUILD"
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
SDL_AUDIODRIVER=dummy "$BUILD/zarvel" --data-dir "$WORK" > /dev/null 2>&1 &
PID=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zarvel$' | head -1)
key() { xdotool keydown "$1"; sleep 0.1; xdotool keyup "$1"; sleep 0.3; }
click() { xdotool mousemove --window "$WID" "$1" "$2"; sleep 0.1; xdotool mousedown 1; sleep 0.1; xdotool mouseup 1; sleep 0.3; }
sleep 2
key F2; sleep 0.5
key Return; sleep 1
for _ in 1 2 3 4; do key Right; done
key Return; sleep 1
click 60 560; sleep 0.5
click 471 300; sleep 2.5
xdotool mousemove --window "$WID" 560 380; sleep 0.5
key F2; sleep 0.5
kill -TERM "$PID"; wait "$PID" || true
convert "Screen Shots/Zarvel Image 0.bmp" "$SRC/docs/screenshot-menu.png"
convert "Screen Shots/Zarvel Image 1.bmp" "$SRC/docs/screenshot.png"
echo "wrote docs/screenshot.png and docs/screenshot-menu.png"
