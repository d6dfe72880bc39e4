#!/bin/bash
# The real program in a real X server: the window is 640 x 480, centred, named and classed
# after the title, shows the background image pixel for pixel, and Esc ends it with code 0.
source "$(dirname "$0")/lib.sh"

make_game_folder game
# an empty story: nothing is typed over the picture, and the engine halts at once
mkdir -p "$GAME_DIR/txt" && : >"$GAME_DIR/txt/config.tda"

# A background with a colour of its own in each corner and the centre over a gradient: a flipped,
# shifted, scaled or channel-swapped picture cannot match it.
pattern="$GAME_DIR/gdat/back_black.bgh"
convert -size 640x480 'gradient:rgb(32,64,192)-rgb(224,160,48)' +antialias \
    -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 79,59' \
    -fill 'rgb(0,255,0)' -draw 'rectangle 560,0 639,59' \
    -fill 'rgb(0,0,255)' -draw 'rectangle 0,420 79,479' \
    -fill 'rgb(255,255,255)' -draw 'rectangle 560,420 639,479' \
    -fill 'rgb(18,52,86)' -draw 'rectangle 300,220 339,259' \
    -type TrueColor "BMP3:$pattern" || fail "cannot make the test pattern"
bpp=$(od -An -tu2 -j28 -N2 "$pattern" | tr -d ' ')
[ "$bpp" = 24 ] || fail "the test pattern has $bpp bits a pixel, not 24"

play_story
pid=$GAME_PID
win=$WIN
[ "$(wc -l <<<"$win")" = 1 ] || fail "more than one window named \"$TITLE\": $win"
[ "$(window_pid "$win")" = "$pid" ] || fail "window $win belongs to process $(window_pid "$win"), not $pid"

# the window exists hidden first and is shown once centred: wait for it to be shown
shown() { xwininfo -id "$win" | grep -q 'Map State: IsViewable'; }
poll 5 shown || fail "window $win was not shown within 5 s"

# geometry: without a window manager the X window is the client area itself
info=$(xwininfo -id "$win")
field() { awk -F': *' -v k="$1" '$1 ~ "^ *" k "$" { print $2 }' <<<"$info"; }
size="$(field Width)x$(field Height)"
[ "$size" = 640x480 ] || fail "client area is $size, not 640x480"
# the screen is 1024 x 768, so a centred 640 x 480 window starts at (192, 144)
origin="$(field 'Absolute upper-left X'),$(field 'Absolute upper-left Y')"
[ "$origin" = 192,144 ] || fail "window is at $origin, not centred at 192,144"

# names
wm_name=$(xprop -id "$win" WM_NAME)
net_name=$(xprop -id "$win" _NET_WM_NAME)
wm_class=$(xprop -id "$win" WM_CLASS)
[ "$wm_name" = "WM_NAME(STRING) = \"$TITLE\"" ] || fail "unexpected $wm_name"
[ "$net_name" = "_NET_WM_NAME(UTF8_STRING) = \"$TITLE\"" ] || fail "unexpected $net_name"
[ "${wm_class##*, }" = "\"$TITLE\"" ] || fail "the window's class is not \"$TITLE\": $wm_class"

# picture: the first frames may still be the class's white background, so look until it matches
differing=""
poll 5 shows "$win" "$pattern" || fail "the window does not show the background image: $differing pixels differ"
running "$pid" || fail "the program ended while showing its picture"

escape_ends "$pid"
[ -z "$(windows_named "$TITLE")" ] || fail "the window stays after the program ended"

echo "PASS: 640x480 centred window \"$TITLE\", background shown exactly, Esc exits 0"
