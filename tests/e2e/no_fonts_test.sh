#!/bin/bash
# With no font at all, a box cannot draw its text: its caption and text go to stderr as one line,
# and its button still shows a dark label.
source "$(dirname "$0")/lib.sh"

CAPTION="えらー"

start_xvfb
make_game_folder game
# the story types a letter at once
printf '%s\r\n' 'A#wait' >"$GAME_DIR/txt/config.tda"
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$WORK/fontcache" \
    >"$WORK/fonts.conf"
export FONTCONFIG_FILE="$WORK/fonts.conf"
start_game "$GAME_DIR" game
game=$GAME_PID
poll 10 has_window "$CAPTION" || fail "no box captioned $CAPTION within 10 s"
said() { grep -qx "veltrane: $CAPTION: フォント失敗" "$WORK/game.log"; }
poll 5 said || fail "the box's caption and text did not reach stderr"

box=$(windows_named "$CAPTION" | head -n 1)
poll 5 dark_pixels "$box" || fail "the box's button has no label"
running "$game" || fail "the program ended without waiting for its box"

echo "PASS: with no fonts, the box's message reaches stderr and its button is labelled"
