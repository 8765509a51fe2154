#!/bin/bash
# The game installed with `cmake --install` into a staging tree that is then
# moved elsewhere: its desktop files validate, its command line answers, and
# started from an unrelated folder with an empty HOME it shows the menu,
# keeps the player's records in the XDG folder across restarts and a newer
# install, runs on read-only content, and says why when it cannot start.
# Arguments: build-folder source-folder work-folder version
set -u
BUILD=$(realpath "$1")
SRC=$(realpath "$2")
OUT=$3
VERSION=$4
if [ -z "${ZV_E2E_DISPLAY_READY:-}" ]; then
  export ZV_E2E_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi
rm -rf "$OUT"
mkdir -p "$OUT/home" "$OUT/elsewhere"
OUT=$(realpath "$OUT")
export HOME="$OUT/home"
unset XDG_DATA_HOME
DATA="$HOME/.local/share/zarvel"
# lib.bash gives fail, press, click_at, wait_game and play_level_one (which
# finds levelgen beside the built game and works in the player's folder).
source "$SRC/tests/e2e/lib.bash" "$BUILD/zarvel" "$SRC" "$OUT/lib-work"
cd "$OUT"

install_build() {  # into the staging tree, then moved: nothing may depend on the prefix
  DESTDIR="$OUT/stage" cmake --install "$BUILD" --prefix /opt/zarvel > /dev/null || fail "install failed"
  mkdir -p "$OUT/moved"
  cp -a "$OUT/stage/." "$OUT/moved/" && rm -rf "$OUT/stage"
}
install_build
ROOT="$OUT/moved/opt/zarvel"
GAME="$ROOT/games/zarvel"
CONTENT="$ROOT/share/games/zarvel"
[ -x "$GAME" ] && [ -f "$CONTENT/Assets/Scripts/Config/qnengine.cfg" ] || fail "not installed in games/ and share/games/zarvel"

# 1. The desktop's files.
desktop-file-validate "$ROOT/share/applications/org.zarvel.Zarvel.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$ROOT/share/metainfo/org.zarvel.Zarvel.metainfo.xml" > metainfo.txt 2>&1 ||
  { cat metainfo.txt >&2; fail "AppStream metadata"; }
grep -q "release version=\"$VERSION\"" "$ROOT/share/metainfo/org.zarvel.Zarvel.metainfo.xml" || fail "no release $VERSION"
man -l "$ROOT/share/man/man6/zarvel.6.gz" > man.txt 2> man.err || fail "manual page: $(cat man.err)"
grep -q "EXIT STATUS" man.txt && grep -q -- "--data-dir" man.txt || fail "manual page incomplete"
[ ! -s man.err ] || fail "manual page warnings: $(cat man.err)"
for s in 16 24 32 48 64 128 256 512; do
  icon="$ROOT/share/icons/hicolor/${s}x${s}/apps/org.zarvel.Zarvel.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${s}x${s}" ] || fail "icon $s"
done
grep -q "MIT License" "$ROOT/share/doc/zarvel/copyright" || fail "no licence text"

# 2. The command line, with no window and nothing written.
[ "$("$GAME" --version)" = "zarvel $VERSION" ] || fail "--version: $("$GAME" --version)"
"$GAME" --help | grep -q -- "--data-dir DIR" || fail "--help"
"$GAME" --windowed --bogus > out.txt 2> err.txt
code=$?
[ "$code" = 2 ] && [ ! -s out.txt ] && grep -q "unknown option '--bogus'" err.txt || fail "unknown option: $code $(cat err.txt)"
"$GAME" --data-dir > /dev/null 2>&1; [ $? = 2 ] || fail "--data-dir without a folder"
[ ! -e "$DATA" ] || fail "the command line alone made the player's folder"

start_game() {  # the installed game, from an unrelated folder; arguments go to it
  (cd "$OUT/elsewhere" && exec "$GAME" "$@" > "$OUT/game.out" 2>&1) &
  GAME_PID=$!
  WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zarvel$' | head -1)
  [ -n "$WID" ] || fail "no window: $(cat "$OUT/game.out")"
  xdotool windowfocus --sync "$WID" 2>/dev/null || true
}
stop_game() {
  kill -TERM "$GAME_PID"
  wait_game
  [ "$GAME_CODE" = 18 ] || fail "exit code $GAME_CODE"
}
shows_menu() {  # the menu's many colours, not a blank window
  sleep 2
  import -window "$WID" "$OUT/menu.png"
  colours=$(convert "$OUT/menu.png" -format '%k' info:)
  [ "$colours" -gt 1000 ] || fail "no menu on show ($colours colours)"
}

# Level 1 solved through the game (lib.bash's play_level_one, in the current
# folder, which is the player's). On a loaded machine a click can come too
# early for the level to see it: one more try, from a fresh start.
solve_level_one() {  # arguments go to the game
  for try in 1 2; do
    start_game "$@"
    sleep 2
    if (play_level_one 1 0 0); then
      stop_game
      return
    fi
    stop_game
    echo "level 1 not solved on try $try"
  done
  fail "level 1 could not be solved through the installed game"
}

# 3. Fresh HOME: the menu; nothing of the content copied; a second copy refused.
start_game
shows_menu
[ -f "$DATA/Logs/QNResultLog.htm" ] || fail "no result log in the player's folder"
[ ! -e "$DATA/Assets" ] || fail "content was copied into the player's folder"
"$GAME" > second.out 2>&1
code=$?
[ "$code" = 5 ] && grep -q "already running" second.out || fail "a second copy: $code $(cat second.out)"
stop_game

# 4. A level solved through it keeps its record in the XDG folder, across a
# second start and a newer install whose level file differs.
cd "$DATA"
solve_level_one
LEVEL_FILE="$DATA/Assets/Scripts/Levels/zv.1.lvl"
cp "$LEVEL_FILE" "$OUT/record.lvl"
cd "$OUT"
start_game
shows_menu
stop_game
cmp -s "$LEVEL_FILE" "$OUT/record.lvl" || fail "a second start changed the record"
install_build
printf '2 1\n10\n599999\n1\n599999\n' > "$CONTENT/Assets/Scripts/Levels/zv.1.lvl"
start_game
shows_menu
stop_game
cmp -s "$LEVEL_FILE" "$OUT/record.lvl" || fail "a newer install changed the record"

# 5. Read-only content: the game runs and saves into a new player's folder,
# and the content is the same afterwards.
install_build
chmod -R a-w "$CONTENT"
(cd "$CONTENT" && find . -type f -exec sha256sum {} + | sort) > before.sum
mkdir -p "$OUT/second-player"
cd "$OUT/second-player"
solve_level_one --data-dir "$OUT/second-player"
cd "$OUT"
(cd "$CONTENT" && find . -type f -exec sha256sum {} + | sort) > after.sum
cmp -s before.sum after.sum || fail "the game changed its installed content"
chmod -R u+w "$CONTENT"

# 6. --windowed and --fullscreen win over the player's configuration.
mkdir -p "$OUT/third/Assets/Scripts/Config"
sed 's/^\[FULLSCREEN\].*/[FULLSCREEN] TRUE/' "$CONTENT/Assets/Scripts/Config/qnengine.cfg" \
  > "$OUT/third/Assets/Scripts/Config/qnengine.cfg"
start_game --data-dir "$OUT/third" --windowed
sleep 1
xwininfo -id "$WID" | grep -q "Width: 800" || fail "--windowed did not give a window"
stop_game
start_game --data-dir "$OUT/fourth" --fullscreen
sleep 1
xwininfo -id "$WID" | grep -q "Width: 1280" || fail "--fullscreen did not cover the screen"
stop_game

# 7. Cannot start: a reason on stderr (and in the result log), a status
# other than 0 and 18.
cannot() {  # expected-status what-the-message-says command...
  local want=$1 says=$2
  shift 2
  "$@" > why.out 2> why.err
  local code=$?
  [ "$code" = "$want" ] && grep -q "cannot start: .*$says" why.err ||
    fail "expected status $want and '$says', got $code: $(cat why.err)"
}
cannot 6 "no display" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$GAME" --data-dir "$OUT/nodisplay"
grep -q "no display" "$OUT/nodisplay/Logs/QNResultLog.htm" || fail "no display: not in the result log"
cannot 7 "OpenGL 3.3" env MESA_GL_VERSION_OVERRIDE=2.1 "$GAME" --data-dir "$OUT/nogl"
grep -q "OpenGL 3.3" "$OUT/nogl/Logs/QNResultLog.htm" || fail "no OpenGL 3.3: not in the result log"
mkdir -p "$OUT/lonely/games"
cp "$GAME" "$OUT/lonely/games/"
cannot 3 "looked in: $OUT/lonely/share/games/zarvel" "$OUT/lonely/games/zarvel" --data-dir "$OUT/lonely-player"
touch "$OUT/a-file"
cannot 4 "cannot be written" "$GAME" --data-dir "$OUT/a-file/player"
echo PASS
