#!/bin/bash
# Builds the C libraries the browser build links, with emcc, from Debian's
# source packages: zlib, libpng, libjpeg-turbo, FreeType, SDL2 and SDL2_mixer.
# Each one is built once into PREFIX and remembered by a stamp file, so a
# second run only checks the stamps. Needs the Debian archive (deb-src).
#   tools/web/build-deps.sh PREFIX
set -euo pipefail

P=$(realpath -m "${1:?usage: build-deps.sh PREFIX}")
SRC=$P/src
mkdir -p "$P" "$SRC"
export NODE_PATH=/usr/share/nodejs
JOBS=$(nproc 2>/dev/null || echo 2)

# Debian's source of PACKAGE, unpacked under $SRC; prints its folder. The
# newest version whose files the archive still holds is taken (the sources of
# security updates are sometimes listed before they can be fetched).
fetch() {
  local pkg=$1 dir
  dir=$(find "$SRC" -maxdepth 1 -type d -name "${pkg}-*" | head -n1)
  if [ -n "$dir" ]; then echo "$dir"; return; fi
  local versions v
  versions=$(apt-cache showsrc "$pkg" | sed -n 's/^Version: //p' | sort -Vr | uniq)
  for v in $versions; do
    if (cd "$SRC" && apt-get source -qq "$pkg=$v" >/dev/null 2>&1); then
      dir=$(find "$SRC" -maxdepth 1 -type d -name "${pkg}-*" | head -n1)
      [ -n "$dir" ] && { echo "$dir"; return; }
    fi
  done
  echo "build-deps: cannot fetch the Debian source of $pkg" >&2
  return 1
}

stamp() { [ -f "$P/.built-$1" ]; }
done_() { touch "$P/.built-$1"; echo "build-deps: $1 ready"; }

CM=(-DCMAKE_INSTALL_PREFIX="$P" -DCMAKE_FIND_ROOT_PATH="$P" -DCMAKE_PREFIX_PATH="$P"
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-O2)

configure() {  # SRC_DIR [cmake args...]: configures SRC_DIR/build-web
  local s=$1; shift
  rm -rf "$s/build-web"
  emcmake cmake -S "$s" -B "$s/build-web" "${CM[@]}" "$@" >"$s/build-web.log" 2>&1 ||
    { tail -n 30 "$s/build-web.log"; return 1; }
}

build() {  # SRC_DIR TARGET
  cmake --build "$1/build-web" --target "$2" -j"$JOBS" >>"$1/build-web.log" 2>&1 ||
    { tail -n 30 "$1/build-web.log"; return 1; }
}

if ! stamp zlib; then
  s=$(fetch zlib)
  (cd "$s" && emconfigure ./configure --static --prefix="$P" >/dev/null &&
     emmake make -j"$JOBS" libz.a >/dev/null && make install >/dev/null)
  done_ zlib
fi

if ! stamp libpng; then
  s=$(fetch libpng1.6)
  configure "$s" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="$P/lib/libz.a" -DZLIB_INCLUDE_DIR="$P/include"
  build "$s" install
  done_ libpng
fi

if ! stamp libjpeg; then
  s=$(fetch libjpeg-turbo)
  configure "$s" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
  # Its configure test of size_t cannot run under emcc; wasm32 has 4 bytes.
  sed -i 's/#define SIZEOF_SIZE_T .*/#define SIZEOF_SIZE_T  4/' "$s/build-web/jconfigint.h"
  build "$s" jpeg-static
  mkdir -p "$P/lib" "$P/include"
  cp "$s/build-web/libjpeg.a" "$P/lib/"
  cp "$s/build-web/jconfig.h" "$s/jpeglib.h" "$s/jmorecfg.h" "$s/jerror.h" "$P/include/"
  done_ libjpeg
fi

if ! stamp freetype; then
  s=$(fetch freetype)
  configure "$s" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_BROTLI=ON -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DZLIB_LIBRARY="$P/lib/libz.a" -DZLIB_INCLUDE_DIR="$P/include" \
    -DPNG_LIBRARY="$P/lib/libpng16.a" -DPNG_PNG_INCLUDE_DIR="$P/include"
  build "$s" install
  done_ freetype
fi

if ! stamp sdl2; then
  s=$(fetch libsdl2)
  configure "$s" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
  build "$s" install
  done_ sdl2
fi

if ! stamp sdl2-mixer; then
  s=$(fetch libsdl2-mixer)
  configure "$s" -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC_LIBFLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_MP3_MPG123=OFF -DSDL2MIXER_VORBIS=STB \
    -DSDL2_DIR="$P/lib/cmake/SDL2"
  build "$s" install
  done_ sdl2-mixer
fi
