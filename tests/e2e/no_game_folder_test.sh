#!/bin/bash
# Started outside a game folder, the program says so on the terminal, with how to name one, and
# each of its boxes comes as a line there too.
source "$(dirname "$0")/lib.sh"

start_xvfb
mkdir -p "$WORK/nothing"
start_game "$WORK/nothing" nothing
hint="veltrane: there is no txt/config.tda in $WORK/nothing: start veltrane in a game folder, or name one: veltrane GAME_DIR"
told() { grep -qxF "$hint" "$WORK/nothing.log" && grep -qxF "veltrane: Load_Bmp(): 画像読み込みに失敗しました (gdat/Parts.bgh)" "$WORK/nothing.log"; }
poll 10 told || fail "no hint on stderr: $(cat "$WORK/nothing.log")"
echo "no game folder: 1 passed, 0 failed"
