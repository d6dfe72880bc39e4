#!/bin/bash
# The notice in the real window is drawn in the window's own pixels: at the smallest window (320 x 240)
# and at 1280 x 960 its plate is 16 px text and 5 px above and below it tall, 8 px from the corner,
# with light text on it; once it goes, the window shows the picture exactly as before.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb 1600x1000x24
play_story notice '#g_load BG harbor.bgh' '#fade_in' '#halt'
differing=""
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
sized() { shot before && [ "$(identify -format '%wx%h' "$WORK/before.png")" = "$1" ]; }
still() { sized "$1" && sleep 0.3 && shows "$WIN" "$WORK/before.png"; }
# the plate's colour down the column 1 px inside its left edge: 26 rows from y = 8
plate_rows() { convert "$WORK/notice.png" -crop 1x60+9+0 txt:- | grep -ci '#181828'; }
plate_top() { convert "$WORK/notice.png" -crop 1x2+9+7 txt:- | grep -ci '#181828'; }
text_lit() {
    [ "$(convert "$WORK/notice.png" -crop 60x16+18+13 -colorspace Gray -format '%[fx:maxima > 0.8]' info:)" = 1 ]
}
noticed() { shot notice && [ "$(plate_rows)" = 26 ] && [ "$(plate_top)" = 1 ] && text_lit; }

for size in 320x240 1280x960; do
    xdotool windowmove "$WIN" 0 0 windowsize "$WIN" "${size%x*}" "${size#*x}"
    poll 10 still "$size" || fail "at $size the picture did not settle ($differing)"
    xdotool windowfocus --sync "$WIN" key F5
    poll 2 noticed || fail "at $size the notice is not a 26 px plate of text at (8, 8) ($(plate_rows) rows)"
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at $size the notice left $differing pixels changed"
done
escape_ends "$WIN"
echo "notice_layer: 2 passed, 0 failed"
