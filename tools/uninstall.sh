#!/bin/bash
# Removes what the last `make install` (cmake --install) put in place, from
# the list CMake keeps in the build folder, and the game's folders left
# empty. The player's files ($XDG_DATA_HOME/zarvel) are not touched.
#   tools/uninstall.sh [build folder]      (DESTDIR is honoured)
set -euo pipefail
BUILD=${1:-build}
MANIFEST="$BUILD/install_manifest.txt"
[ -f "$MANIFEST" ] || { echo "uninstall: no $MANIFEST (nothing was installed from this build)" >&2; exit 1; }
while IFS= read -r f || [ -n "$f" ]; do
  target="${DESTDIR:-}$f"
  if [ -e "$target" ] || [ -L "$target" ]; then
    rm -f -- "$target"
    echo "Removed: $target"
  fi
  # Folders of the game's own, now empty (never a shared one such as bin/).
  dir=$(dirname "$target")
  while [ "$(basename "$dir")" != "/" ] && [ -d "$dir" ] && [ -z "$(ls -A "$dir")" ]; do
    case "$dir" in
      */share/games/zarvel*|*/share/doc/zarvel) rmdir "$dir" ;;
      *) break ;;
    esac
    dir=$(dirname "$dir")
  done
done < "$MANIFEST"
