#!/bin/bash
# The reader's screens in the real window, at 640 x 480 and at 1280 x 960: the history (Page Up), the
# menu (a right-click) and its settings panel are drawn at the window's own scale, their dark panel
# where it belongs and white text on it; once they close, the window shows the picture as before.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb 1600x1000x24
# no click-wait: its cursor would blink, and the picture never settle
play_story screens '#g_load BG harbor.bgh' '#fade_in' '#set_text_wait 0' 'The rain fell on the harbour.' '#halt'
differing=""
shot() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null; }
still() { shot before && [ "$(identify -format '%wx%h' "$WORK/before.png")" = "$1" ] && sleep 0.3 &&
    shows "$WIN" "$WORK/before.png"; }
# the panel's colour at picture point (X, Y); white text in the W x 16 box at (X, Y), at scale S
panel_at() { convert "$WORK/screen.png" -crop "1x1+$(($2 * S))+$(($3 * S))" txt:- | grep -qi '#101020'; }
lit_at() {
    [ "$(convert "$WORK/screen.png" -crop "$(($4 * S))x$((16 * S))+$(($2 * S))+$(($3 * S))" -colorspace Gray \
        -format '%[fx:maxima > 0.9]' info:)" = 1 ]
}
# shown NAME X Y TX TY TW: a screen's panel at (X, Y) and text lit at (TX, TY)
shown() { shot screen && panel_at "$@" && lit_at "$1" "$4" "$5" "$6"; }
key() { xdotool windowfocus --sync "$WIN" key "$@"; }

for S in 1 2; do
    xdotool windowmove "$WIN" 0 0 windowsize "$WIN" $((640 * S)) $((480 * S))
    poll 10 still "$((640 * S))x$((480 * S))" || fail "at ${S}x the picture did not settle ($differing)"
    key Page_Up
    poll 2 shown history 25 300 40 52 100 || fail "at ${S}x the history is not shown with its text"
    key Escape
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at ${S}x the history left $differing pixels changed"
    xdotool mousemove --window "$WIN" $((300 * S)) $((300 * S)) click 3
    poll 2 shown menu 125 300 144 134 30 || fail "at ${S}x the menu is not shown with its rows"
    key Down Down Down Down Down Return
    poll 2 shown settings 125 300 144 176 60 || fail "at ${S}x the settings are not shown with their rows"
    key Escape Escape
    poll 5 shows "$WIN" "$WORK/before.png" || fail "at ${S}x the menu left $differing pixels changed"
done
escape_ends "$WIN"
echo "screens: 6 passed, 0 failed"
