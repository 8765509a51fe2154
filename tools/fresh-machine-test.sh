#!/bin/bash
# Tries the README's commands as a new player would on a minimal Debian 12:
# a debootstrap minbase root, then only `apt-get install make`, then
# `make test`; then the game under Xvfb until its menu shows, and the
# Debian package built, installed, started and removed. Needs root and
# debootstrap (it installs debootstrap when missing). About 20 minutes on
# 2 cores, most of it `make test`.
# With --web it tries the browser build instead: `make web`, then
# `make test-web` (which builds the desktop game for its reference pictures).
#   tools/fresh-machine-test.sh [--web] [ROOT_FOLDER]  (default /var/tmp/zarvel-fresh)
set -euo pipefail
SRC=$(cd "$(dirname "$0")/.." && pwd)
WEB=0
if [ "${1:-}" = --web ]; then WEB=1; shift; fi
ROOT=${1:-/var/tmp/zarvel-fresh}
[ "$(id -u)" = 0 ] || { echo "fresh-machine-test: run as root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap > /dev/null || apt-get install -y -qq --no-install-recommends debootstrap
# The mirror this machine uses, when it names one.
MIRROR=$(sed -n 's/^URIs: *\(http[^ ]*\/debian\)$/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
MIRROR=${MIRROR:-http://deb.debian.org/debian}

step() { echo "== $(date -u +%T) $*"; }
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
}
trap cleanup EXIT

rm -rf "$ROOT"
step "debootstrap minbase bookworm from $MIRROR"
start=$SECONDS
debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR" > "$ROOT.debootstrap.log" 2>&1 ||
  { tail -20 "$ROOT.debootstrap.log" >&2; exit 1; }
echo "debootstrap: $((SECONDS - start)) s"
for m in proc sys dev dev/pts dev/shm; do
  mkdir -p "$ROOT/$m"
  case $m in
    proc) mount -t proc proc "$ROOT/proc" ;;
    sys) mount -t sysfs sys "$ROOT/sys" ;;
    *) mount --bind "/$m" "$ROOT/$m" ;;
  esac
  mounted+=("$ROOT/$m")
done
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
# Certificate authorities this machine adds for its own network (a proxy's,
# say) are the network's, not the system's: node (npm) in the root gets them.
HOST_CA=
if ls /usr/local/share/ca-certificates/*.crt > /dev/null 2>&1; then
  cat /usr/local/share/ca-certificates/*.crt > "$ROOT/etc/host-network-ca.crt"
  HOST_CA=NODE_EXTRA_CA_CERTS=/etc/host-network-ca.crt
fi

# The sources as a clone has them: the committed tree.
mkdir -p "$ROOT/root/zarvel"
git -C "$SRC" archive HEAD | tar -x -C "$ROOT/root/zarvel"

in_root() { chroot "$ROOT" /usr/bin/env -i HOME=/root TERM=dumb $HOST_CA \
  PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "$1"; }

step "what the README says to install first: make"
in_root "apt-get update -qq && apt-get install -y -qq --no-install-recommends make" > /dev/null
if [ $WEB = 1 ]; then
  for target in web test-web; do
    step "make $target"
    start=$SECONDS
    in_root "cd /root/zarvel && make $target" > "$ROOT.make-$target.log" 2>&1 ||
      { tail -40 "$ROOT.make-$target.log" >&2; echo "make $target failed (log: $ROOT.make-$target.log)" >&2; exit 1; }
    echo "make $target: $((SECONDS - start)) s"
  done
  tail -25 "$ROOT.make-test-web.log"
  step "PASS: a fresh Debian 12 builds Zarvel for the browser and plays it in headless Chromium"
  exit 0
fi

step "make test"
start=$SECONDS
in_root "cd /root/zarvel && make test" > "$ROOT.make-test.log" 2>&1 ||
  { tail -40 "$ROOT.make-test.log" >&2; echo "make test failed (log: $ROOT.make-test.log)" >&2; exit 1; }
echo "make test: $((SECONDS - start)) s; $(grep -E 'tests passed' "$ROOT.make-test.log")"

step "the built game under Xvfb until its menu shows"
in_root 'cd /root && xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  SDL_AUDIODRIVER=dummy /root/zarvel/build/zarvel & pid=\$!
  wid=\$(timeout 60 xdotool search --sync --onlyvisible --name ^Zarvel\$ | head -1)
  sleep 2; kill \$pid; wait \$pid; [ -n \"\$wid\" ]"' || { echo "no menu window" >&2; exit 1; }

step "make deb, install it, start it, remove it"
in_root 'cd /root/zarvel && make deb > /dev/null && apt-get install -y -qq ./build/packages/zarvel_*.deb > /dev/null &&
  /usr/games/zarvel --version && cd /root && xvfb-run -a bash -c "
  SDL_AUDIODRIVER=dummy /usr/games/zarvel & pid=\$!
  wid=\$(timeout 60 xdotool search --sync --onlyvisible --name ^Zarvel\$ | head -1)
  sleep 1; kill \$pid; wait \$pid; [ -n \"\$wid\" ]" && apt-get remove -y -qq --purge zarvel > /dev/null' ||
  { echo "the package did not install, start or remove" >&2; exit 1; }
step "PASS: a fresh Debian 12 builds, tests, plays and packages Zarvel"
