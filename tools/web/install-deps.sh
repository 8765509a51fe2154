#!/bin/bash
# Installs what the browser build and its test need, when missing: Debian's
# emscripten, the fonts the page ships, dpkg-dev (apt-get source) and the
# source lists of the Debian archive that tools/web/build-deps.sh fetches
# from; for the test, chromium and npm (for puppeteer-core). As root it uses
# apt-get; otherwise it prints the command.
set -euo pipefail

PACKAGES=(emscripten cmake make python3 dpkg-dev
  fonts-comic-neue fonts-dejavu-core)
if [ "${1:-}" = "--test" ]; then
  PACKAGES+=(chromium imagemagick xvfb xauth xdotool)
  # A node that came with its own npm (as from nodesource) must not get
  # Debian's npm: the two conflict.
  command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Source packages: a deb-src line for every deb line of the Debian sources.
need_sources=0
if ! apt-cache showsrc zlib 2>/dev/null | grep -q '^Package: zlib'; then
  need_sources=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_sources -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  [ ${#missing[@]} -eq 0 ] || {
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "  sudo apt-get install --no-install-recommends ${missing[*]}" >&2; }
  [ $need_sources -eq 0 ] || echo "Debian's source lists (deb-src) are not enabled: see tools/web/install-deps.sh" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ $need_sources -eq 1 ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      > /etc/apt/sources.list.d/zarvel-web-src.sources
  elif [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
      > /etc/apt/sources.list.d/zarvel-web-src.list
  fi
fi
apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
