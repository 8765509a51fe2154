#!/bin/bash
# Prepares the per-user data folder and starts the game in it.
# Content is refreshed from Assets/, but a level file or the configuration
# already in the data folder is never overwritten: they carry the player's
# records and settings.
set -euo pipefail
BIN=$(realpath "$1")
SRC=$(cd "$(dirname "$0")/.." && pwd)
DATA="${XDG_DATA_HOME:-$HOME/.local/share}/zarvel"

mkdir -p "$DATA/Logs" "$DATA/Screen Shots"
(cd "$SRC" && find Assets -type d) | while read -r d; do mkdir -p "$DATA/$d"; done
(cd "$SRC" && find Assets -type f) | while read -r f; do
  case "$f" in
    Assets/Scripts/Levels/* | Assets/Scripts/Config/*) [ -e "$DATA/$f" ] || cp "$SRC/$f" "$DATA/$f" ;;
    *) cp "$SRC/$f" "$DATA/$f" ;;
  esac
done

cd "$DATA"
# The game ends with code 18 when the player quits or closes the window.
status=0
"$BIN" || status=$?
[ "$status" = 18 ] && status=0
exit "$status"
