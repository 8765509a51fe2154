#!/bin/bash
# Installs the Debian packages the build, the game and the tests need, when
# they are missing. As root it uses apt-get; otherwise it prints the command.
set -euo pipefail

PACKAGES=(g++ cmake make pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libfontconfig-dev libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
  libcdio-dev libcdio-paranoia-dev libgtest-dev libgl-dev libegl-dev
  libgl1-mesa-dri libglx-mesa0 libegl-mesa0
  xvfb xauth xdotool x11-utils sox lame imagemagick
  fonts-dejavu-core fonts-comic-neue)
# The faces the font tests ask for by style; the checks of the installed
# files (desktop entry, AppStream, manual page) and of the Debian package.
PACKAGES+=(fonts-dejavu-extra desktop-file-utils appstream man-db
  dpkg-dev file lintian)
# The soak reads the memory tracker's live count from the running game.
PACKAGES+=(gdb)
# The fuzz targets are built with clang's libFuzzer.
PACKAGES+=(clang libclang-rt-14-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "These Debian packages are missing: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
