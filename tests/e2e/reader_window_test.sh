#!/bin/bash
# The reader's window: enlarged to 1280 x 960 it shows the picture doubled, pixel for pixel; F11
# makes it cover the screen with the picture scaled between black bars, a click at the scaled place
# of a choice picks that choice, the next run opens as the reader left it, and --scale 2 opens doubled;
# without a window manager --fullscreen leaves the window and its picture as they are.
source "$(dirname "$0")/lib.sh"

command -v openbox >/dev/null || fail "openbox is not installed"
export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb 1600x1000x24
# fullscreen is the window manager's to grant, as on any desktop
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
STARTED_PIDS+=($!)
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
poll 10 wm_up || fail "the window manager did not start"
make_game_folder game
# the choices sit over the harbour; the second one fades to black, the others halt as they are
printf '%s\r\n' '#g_load BG harbor.bgh' '#fade_in' '#select3 {' one two three '/#halt' '/#fade_out' '#halt' \
    '/#halt' '}' >"$GAME_DIR/txt/config.tda"
# under a window manager the game's window is no child of the root: found by its name
found() { win=$(xdotool search --onlyvisible --name '^Veltrane Ver0\.10$' 2>/dev/null | head -1) && [ -n "$win" ]; }
start_game "$GAME_DIR" game
poll 10 found || fail "no window named \"$TITLE\" within 10 s"

shot() { import -window "$win" "$WORK/$1.png" 2>/dev/null; }
size_of() { identify -format '%wx%h' "$WORK/$1.png"; }
differing=""
# still: two pictures 0.3 s apart are the same, so the fade has ended and the menu is up
still() { shot still && sleep 0.3 && shows "$win" "$WORK/still.png" && [ "$(size_of still)" = 640x480 ]; }
poll 10 still || fail "the picture did not settle at 640 x 480 ($(size_of still), $differing)"
convert "$WORK/still.png" -filter point -resize 200% "$WORK/doubled.png"

# at the top-left corner, so that the whole window lies on the screen
xdotool windowmove "$win" 0 0 windowsize "$win" 1280 960
doubled() { shows "$win" "$WORK/doubled.png" && [ "$(size_of shot)" = 1280x960 ]; }
poll 5 doubled || fail "at 1280 x 960 the window differs from the doubled picture in $differing pixels"

xdotool windowfocus --sync "$win" key F11
# 1600 x 1000 holds the picture at 1333 x 1000, with bars of 133 and 134 pixels on either side
mean() { convert "$WORK/full.png" -crop "$1" -colorspace Gray -format '%[fx:mean]' info:; }
covers() { shot full && [ "$(size_of full)" = 1600x1000 ]; }
barred() {
    covers && [ "$(mean 133x1000+0+0)" = 0 ] && [ "$(mean 134x1000+1466+0)" = 0 ] &&
        awk -v m="$(mean 1333x1000+133+0)" 'BEGIN { exit !(m > 0.1) }'
}
poll 5 barred || fail "after F11 the window does not show the picture between black bars over the whole screen"

# the second choice, "two", lies at (40..100, 85..111) on the picture: its middle, scaled
xdotool mousemove --window "$win" $((133 + 70 * 1333 / 640)) $((98 * 1000 / 480)) click 1
black() { shot full && [ "$(mean 1600x1000+0+0)" = 0 ]; }
poll 10 black || fail "a click on the scaled second choice did not pick it (no fade to black)"

escape_ends "$win"
grep -q '^fullscreen 1$' "$XDG_CONFIG_HOME"/veltrane/*.conf || fail "the fullscreen mode was not remembered"
start_game "$GAME_DIR" again
poll 10 found || fail "no window on the second run"
poll 5 covers || fail "the second run did not open fullscreen as the reader left it"
escape_ends "$win"

# --scale 2 opens at twice the size, out of fullscreen, and shows the picture doubled again (the
# pointer out of the way, so that no choice is lit)
xdotool mousemove 1599 999
start_game "$GAME_DIR" scaled --scale 2
poll 10 found || fail "no window with --scale 2"
poll 10 doubled || fail "with --scale 2 the window differs from the doubled picture in $differing pixels"
escape_ends "$win"

# without a window manager no fullscreen is granted: the window stays 640 x 480 and shows the whole
# picture, a click lands where it is shown, and no fullscreen is remembered
export XDG_CONFIG_HOME="$WORK/config-no-wm"
start_xvfb
start_game "$GAME_DIR" no_wm --fullscreen
poll 10 found || fail "no window with --fullscreen and no window manager"
poll 10 shows "$win" "$WORK/still.png" || fail "without a window manager the window differs from the picture in $differing pixels"
xdotool mousemove --window "$win" 70 98 click 1
poll 5 black || fail "without a window manager a click on the second choice did not pick it"
escape_ends "$win"
grep -q '^fullscreen 0$' "$XDG_CONFIG_HOME"/veltrane/*.conf || fail "a fullscreen that never came was remembered"
echo "reader_window: 7 passed, 0 failed"
