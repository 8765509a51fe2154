#!/bin/bash
# Regenerates the game's sounds into Assets/Audio: the background music
# (generated as WAV, encoded to MP3 with lame) and the click (WAV).
#   tools/soundgen/make-sounds.sh [BUILD_DIR]     (default: build)
# Prints sox's measurements of both files when sox is installed.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(realpath -m "${1:-$ROOT/build}")
OUT="$ROOT/Assets/Audio"

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" >/dev/null
fi
cmake --build "$BUILD" --target soundgen >/dev/null

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
"$BUILD/soundgen" "$TMP"

mkdir -p "$OUT"
# VBR quality 4 (about 165 kbit/s) is transparent for soft synthesised music.
# lame writes the encoder delay and padding into its header, so a gapless
# decoder (mpg123, which SDL_mixer uses) loops the file without a gap.
lame --quiet --noreplaygain -V 4 "$TMP/lumbrel.bgmusic.wav" "$OUT/lumbrel.bgmusic.mp3"
cp "$TMP/pellomir.beep.wav" "$OUT/pellomir.beep.wav"

if command -v sox >/dev/null; then
  # sox may lack an MP3 reader: measure lame's own (gapless) decoding.
  lame --quiet --decode "$OUT/lumbrel.bgmusic.mp3" "$TMP/decoded.wav"
  for f in "$TMP/decoded.wav" "$OUT/pellomir.beep.wav"; do
    echo "== $(basename "$f")"
    sox "$f" -n stats 2>&1 | grep -E "DC offset|Pk lev dB|RMS lev dB|Length s" || true
  done
fi
