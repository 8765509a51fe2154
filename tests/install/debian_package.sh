#!/bin/bash
# The Debian package: built with CPack, its dependencies computed by
# dpkg-shlibdeps, clean for lintian (no errors); as root it is installed
# with apt-get, started once from its desktop entry's Exec line under Xvfb
# and removed, leaving nothing of its own behind.
# Arguments: build-folder work-folder. Exit 77 (skipped) without root.
set -u
BUILD=$(realpath "$1")
OUT=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -z "${ZV_E2E_DISPLAY_READY:-}" ]; then
  export ZV_E2E_DISPLAY_READY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi
rm -rf "$OUT"
mkdir -p "$OUT"
OUT=$(realpath "$OUT")

rm -f "$BUILD"/packages/zarvel_*.deb
(cd "$BUILD" && cpack -G DEB) > "$OUT/cpack.log" 2>&1 || { tail -20 "$OUT/cpack.log" >&2; fail "cpack"; }
DEB=$(ls "$BUILD"/packages/zarvel_*.deb 2>/dev/null | head -1)
[ -n "$DEB" ] || fail "no package made"
depends=$(dpkg-deb -f "$DEB" Depends)
echo "$depends" | grep -q "libsdl2-2.0-0" || fail "dependencies not computed: $depends"
# lintian's errors fail the test; its warnings and notes are printed.
lintian "$DEB" > "$OUT/lintian.txt" 2>&1
cat "$OUT/lintian.txt"
! grep -q "^E:" "$OUT/lintian.txt" || fail "lintian reports errors"

if [ "$(id -u)" != 0 ] || ! command -v apt-get > /dev/null; then
  echo "not root: the package is not installed"
  exit 77
fi
if dpkg-query -W -f='${Status}' zarvel 2>/dev/null | grep -q "install ok installed"; then
  echo "zarvel is already installed on this machine: it is left as it is"
  exit 77
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq --no-install-recommends "$DEB" > "$OUT/apt.log" 2>&1 || { cat "$OUT/apt.log" >&2; fail "apt-get install"; }
trap 'apt-get remove -y -qq --purge zarvel > /dev/null 2>&1' EXIT
[ -x /usr/games/zarvel ] || fail "no /usr/games/zarvel"

# The Exec line, run as a desktop runs it: in HOME, with the PATH of a
# Debian user's session (which has /usr/games).
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.zarvel.Zarvel.desktop)
[ -n "$exec_line" ] || fail "no Exec line"
mkdir -p "$OUT/home"
(cd "$OUT/home" && HOME="$OUT/home" PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games \
  SDL_AUDIODRIVER=dummy exec $exec_line > "$OUT/game.out" 2>&1) &
pid=$!
WID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zarvel$' | head -1)
[ -n "$WID" ] || { kill "$pid" 2>/dev/null; fail "no window from '$exec_line': $(cat "$OUT/game.out")"; }
sleep 1
kill -TERM "$pid"
wait "$pid"
code=$?
[ "$code" = 18 ] || fail "exit code $code"
[ -f "$OUT/home/.local/share/zarvel/Logs/QNResultLog.htm" ] || fail "no result log in the player's folder"

apt-get remove -y -qq --purge zarvel > "$OUT/apt.log" 2>&1 || fail "apt-get remove"
trap - EXIT
[ ! -e /usr/games/zarvel ] && [ ! -e /usr/share/games/zarvel ] || fail "files left behind"
echo PASS
