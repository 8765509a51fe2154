#!/bin/bash
# The browser build played in headless Chromium and compared with the desktop
# game's own pictures (web-test.js says what is checked). Prints the time of
# each phase, the frame rate at the menu and the size of the site.
# Usage: run.sh SITE_DIR DESKTOP_BUILD_DIR
set -euo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)

# Under Xvfb (run.sh --desktop ZARVEL FOLDER): the desktop game's menu and
# level 1 with its panel, saved with F2, presses held as in the end-to-end tests.
if [ "${1:-}" = --desktop ]; then
  cd "$3"
  SDL_AUDIODRIVER=dummy "$2" --data-dir "$3" > game.out 2>&1 &
  pid=$!
  wid=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zarvel$' | head -1)
  [ -n "$wid" ] || fail "no desktop window"
  xdotool mousemove --window "$wid" 0 0  # where the browser's pointer starts
  press() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; sleep 0.2; }
  sleep 2; press F2
  press Return; sleep 1.5; press Return; sleep 2; press F2
  kill -TERM "$pid"; wait "$pid" || true
  exit 0
fi

[ $# -eq 2 ] || fail "usage: $0 SITE_DIR DESKTOP_BUILD_DIR"
SITE=$(realpath "$1")
DESK=$(realpath "$2")
for f in index.html page.js page.css zarvel.js zarvel.wasm zarvel.data; do
  [ -f "$SITE/$f" ] || fail "$SITE/$f is missing (make web)"
done
for f in zarvel levelgen; do [ -x "$DESK/$f" ] || fail "no $f in $DESK (make build)"; done
for t in node npm chromium convert xvfb-run xdotool python3 gzip; do
  command -v "$t" > /dev/null || fail "$t is missing"
done

# puppeteer-core drives Debian's chromium; it downloads no browser.
NODE_DIR=$ROOT/build-web/node
if [ ! -d "$NODE_DIR/node_modules/puppeteer-core" ]; then
  mkdir -p "$NODE_DIR"
  npm install --prefix "$NODE_DIR" --no-audit --no-fund --loglevel=error puppeteer-core@24.43.1 \
    || fail "npm could not install puppeteer-core"
fi

WORK=$(mktemp -d /tmp/zarvel-web-test.XXXXXX)
SERVER=
finish() {
  rc=$?
  [ -z "$SERVER" ] || { kill "$SERVER" 2>/dev/null; wait "$SERVER" 2>/dev/null || true; }
  if [ "$rc" = 0 ]; then rm -rf "$WORK"; else echo "the test's files are kept in $WORK" >&2; fi
}
trap finish EXIT

mkdir "$WORK/desktop"
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$HERE/run.sh" --desktop "$DESK/zarvel" "$WORK/desktop"
for i in 0 1; do
  shot="$WORK/desktop/Screen Shots/Zarvel Image $i.bmp"
  [ -f "$shot" ] || fail "the desktop game saved no screenshot $i"
  convert "$shot" "$WORK/desktop-$i.png"
done
BOARD=$ROOT/Assets/Scripts/Levels/zv.1.lvl
"$DESK/levelgen" --solve "$BOARD" > "$WORK/clicks.txt" || fail "level 1 has no solution"

PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
(cd "$SITE" && exec python3 -m http.server "$PORT" --bind 127.0.0.1) > "$WORK/server.log" 2>&1 &
SERVER=$!
for _ in $(seq 1 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$PORT/')" 2> /dev/null && break
  sleep 0.2
done

ZV_URL="http://127.0.0.1:$PORT/" ZV_WORK="$WORK" ZV_MENU="$WORK/desktop-0.png" ZV_READY="$WORK/desktop-1.png" \
  ZV_CLICKS="$WORK/clicks.txt" ZV_BOARD="$BOARD" NODE_PATH="$NODE_DIR/node_modules" \
  node "$HERE/web-test.js"

total=0 count=0
for f in "$SITE"/*; do total=$((total + $(stat -c %s "$f"))) count=$((count + 1)); done
echo "size: the site $total bytes ($count files)"
for f in zarvel.wasm zarvel.js zarvel.data; do
  echo "size: $f $(stat -c %s "$SITE/$f") bytes, $(gzip -9c "$SITE/$f" | wc -c) gzipped (-9)"
done
echo PASS
