#!/bin/bash
# Starts the built game. It reads its content from this source tree (the
# build folder links to it) and keeps the player's files in
# $XDG_DATA_HOME/zarvel; arguments go to the game (zarvel --help).
set -euo pipefail
BIN=$(realpath "$1")
shift
# The game ends with code 18 when the player quits or closes the window.
status=0
"$BIN" "$@" || status=$?
[ "$status" = 18 ] && status=0
exit "$status"
