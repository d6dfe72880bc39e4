#!/bin/bash
# The save screen in the real window, at 640 x 480 and at 1280 x 960: F2 opens it over the picture,
# the quick slot saved just before shows its time and first line as text in its cell, and once Esc
# closes it the window shows the picture exactly as before.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb 1600x1000x24
make_game_folder save
printf '%s\r\n' '#g_load BG harbor.bgh' '#fade_in' 'いろはにほへとちりぬるを' '#halt' |
    iconv -f UTF-8 -t CP932 >"$GAME_DIR/txt/config.tda"
play_story save
differing=""
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
sized() { shot before && [ "$(identify -format '%wx%h' "$WORK/before.png")" = "$1" ]; }
still() { sized "$1" && sleep 0.3 && shows "$WIN" "$WORK/before.png"; }
# lit SHOT SCALE X Y W H: the light pixels (text) of the shot in the picture's rectangle at the scale
lit() {
    local s=$2
    convert "$WORK/$1.png" -crop "$(($5 * s))x$(($6 * s))+$(($3 * s))+$(($4 * s))" -colorspace Gray \
        -threshold 70% -format '%[fx:int(mean * w * h)]' info:
}
# the quick slot's label and time (118..312 x 37..73) and its first line (73..91) are text
labelled() { [ "$(lit "$1" "$2" 118 37 194 36)" -ge $((60 * $2 * $2)) ]; }
lined() { [ "$(lit "$1" "$2" 118 73 194 18)" -ge $((150 * $2 * $2)) ]; }
opened() { shot "$1" && labelled "$1" "$2" && lined "$1" "$2"; }

xdotool windowmove "$WIN" 0 0 windowsize "$WIN" 640 480
poll 10 still 640x480 || fail "the story did not settle ($differing)"
xdotool windowfocus --sync "$WIN" key F5
sleep 0.5
poll 5 shows "$WIN" "$WORK/before.png" || fail "the save's notice left $differing pixels changed"
for scale in 1 2; do
    size="$((640 * scale))x$((480 * scale))"
    xdotool windowmove "$WIN" 0 0 windowsize "$WIN" $((640 * scale)) $((480 * scale))
    poll 10 still "$size" || fail "at $size the picture did not settle ($differing)"
    xdotool windowfocus --sync "$WIN" key F2
    poll 3 opened "screen$scale" "$scale" || fail "at $size the quick slot's text is not there:" \
        "$(lit "screen$scale" "$scale" 118 37 194 36) and $(lit "screen$scale" "$scale" 118 73 194 18) lit pixels"
    # SAVE_SCREEN_SHOTS=DIR keeps the shots there, to be looked at
    [ -z "${SAVE_SCREEN_SHOTS:-}" ] || cp "$WORK/screen$scale.png" "$SAVE_SCREEN_SHOTS/"
    xdotool key Escape
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at $size the closed screen left $differing pixels changed"
done
escape_ends "$WIN"
echo "save_screen: 2 passed, 0 failed"
