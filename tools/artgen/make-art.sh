#!/bin/bash
# Regenerates the game's pictures, meshes and environment map into Assets/
# (Assets/Textures and Assets/Meshes). The scripts that use them are written
# by hand under Assets/Scripts.
#   tools/artgen/make-art.sh [BUILD_DIR] [--preview DIR]     (default: build)
# --preview also writes mock screens composed from the assets and scripts,
# the way the game places them, and a contact sheet of every picture (with
# ImageMagick's montage, when installed).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
PREVIEW=""
if [ "${2:-}" = "--preview" ]; then
  PREVIEW=$(realpath -m "${3:?--preview needs a folder}")
fi

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" >/dev/null
fi
cmake --build "$BUILD" --target artgen >/dev/null

if [ -n "$PREVIEW" ]; then
  mkdir -p "$PREVIEW"
  "$BUILD/artgen" "$ROOT/Assets" --preview "$PREVIEW"
  if command -v montage >/dev/null; then
    (cd "$ROOT/Assets/Textures" &&
      montage -font DejaVu-Sans -label '%f\n%wx%h' -pointsize 10 -background '#3a4060' -fill white \
        -geometry '256x256>+6+6' -tile 6x ./*.png "$PREVIEW/contact-sheet.png")
  fi
  echo "previews in $PREVIEW"
else
  "$BUILD/artgen" "$ROOT/Assets"
fi
