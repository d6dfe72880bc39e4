#!/bin/bash
# The real program's window in a real X server, one run after another:
# - the window is 640 x 480, centred, named and classed after the title, has the program's icon,
#   shows the background image pixel for pixel, and Esc ends it with code 0;
# - what changes on the work surface reaches the window, and only the changed parts are sent: one
#   pixel at each corner and each edge of the picture, several drawn within one present, all show;
#   covered by another window and uncovered, the window shows the whole picture again;
# - clicks as quick as a touchpad tap, press and release at once, still pick the start menu's
#   button and a choice: the menus look at the held button on their passes;
# - while a message box is open, the game window's messages still reach the window procedure: with
#   the start-up picture missing, the "Load_Bmp()" box waits during start-up, and Esc pressed in
#   the game window ends the program, box and all, with code 0;
# - a box closes by the mouse on its OK button and the story goes on: a box of its own, one opened
#   in the pass that picks a choice, and one opened right after a click ends a click-wait at text
#   speed 0.
source "$(dirname "$0")/lib.sh"

start_xvfb
make_game_folder window
# an empty story: nothing is typed over the picture, and the engine halts at once
: >"$GAME_DIR/txt/config.tda"
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

play_story window
[ "$(wc -l <<<"$WIN")" = 1 ] || fail "more than one window named \"$TITLE\": $WIN"
[ "$(window_pid "$WIN")" = "$GAME_PID" ] || fail "window $WIN belongs to process $(window_pid "$WIN"), not $GAME_PID"
# the window exists hidden first and is shown once centred: wait for it to be shown
shown() { xwininfo -id "${1:-$WIN}" 2>/dev/null | grep -q 'Map State: IsViewable'; }
poll 5 shown || fail "window $WIN was not shown within 5 s"
# without a window manager the X window is the client area itself; the screen is 1024 x 768, so a
# centred 640 x 480 window starts at (192, 144)
at=$(geometry "$WIN")
[ "$at" = 640x480+192+144 ] || fail "the window is $at, not 640x480 centred at +192+144"
[ "$(xprop -id "$WIN" WM_NAME)" = "WM_NAME(STRING) = \"$TITLE\"" ] || fail "unexpected $(xprop -id "$WIN" WM_NAME)"
[ "$(xprop -id "$WIN" _NET_WM_NAME)" = "_NET_WM_NAME(UTF8_STRING) = \"$TITLE\"" ] ||
    fail "unexpected $(xprop -id "$WIN" _NET_WM_NAME)"
wm_class=$(xprop -id "$WIN" WM_CLASS)
[ "${wm_class##*, }" = "\"$TITLE\"" ] || fail "the window's class is not \"$TITLE\": $wm_class"
# the icon is the program's own picture, pixel for pixel, opaque
icon=$(convert "$REPO_ROOT/data/veltrane-icon.bmp" -depth 8 rgb:- | od -An -v -tu1 |
    awk '{ for (i = 1; i <= NF; i++) v[n++] = $i } END {
        printf "_NET_WM_ICON = 32, 32"; for (i = 0; i < n; i += 3) printf ", %.0f", 4278190080 + v[i] * 65536 + v[i + 1] * 256 + v[i + 2] }')
[ "$(xprop -id "$WIN" -notype -f _NET_WM_ICON 32c _NET_WM_ICON)" = "$icon" ] ||
    fail "the window's icon is not the program's: $(xprop -id "$WIN" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | head -c 200)"
# the first frames may still be the class's white background, so look until it matches
differing=""
poll 5 shows "$WIN" "$pattern" || fail "the window does not show the background image: $differing pixels differ"
running "$GAME_PID" || fail "the program ended while showing its picture"
escape_ends
[ -z "$(windows_named "$TITLE")" ] || fail "the window stays after the program ended"

make_game_folder present
convert -size 640x480 xc:black -type TrueColor "BMP3:$GAME_DIR/gdat/back_black.bgh" || fail "no background"
# PT's mask cell is white at (25, 0): one pixel of it onto each corner and edge, a text step (1 ms)
# apart, so that several land between two presents
points="0,0 639,0 0,479 639,479 320,0 320,479 0,240 639,240"
story=('#delay 1500' '#set_text_wait 1')
draw=""
for p in $points; do
    story+=("#g_copy BS $p PT 25,0 1,1")
    draw+=" point $p"
done
expected="$WORK/expected.png"
convert -size 640x480 xc:black -fill white -draw "$draw" "$expected" || fail "no expected picture"
play_story present "${story[@]}" '#halt'
poll 10 shows "$WIN" "$expected" || fail "the window differs from the picture in $differing pixels after the copies"
# covered whole by another window, then uncovered: what the window lost is drawn again
xclock -geometry 640x480+192+144 -update 1 >"$WORK/xclock.log" 2>&1 &
cover=$!
STARTED_PIDS+=("$cover")
covered() { [ -n "$(windows_named xclock)" ] && ! shows "$WIN" "$expected"; }
poll 5 covered || fail "the covering window did not cover the game window"
kill "$cover"
poll 5 shows "$WIN" "$expected" || fail "after an expose the window differs from the picture in $differing pixels"
escape_ends

play_story quick_click '#start_menu 220, 250' '#select3 {' 'one' 'two' 'three' '/#halt' '/#halt' '/#halt' '}'
sleep 1
# the button, then choice 1 (from (40, 59) to (100, 85)), then the click that ends the halt
for point in "300 350" "60 72" "60 72"; do
    xdotool mousemove --window "$WIN" $point click 1
    sleep 0.7
done
wait_exit "$GAME_PID" 5 "the program, after the menu, the choice and the halt were clicked," 0

CAPTION="Load_Bmp()"
make_game_folder modal_box
rm "$GAME_DIR/gdat/back_black.bgh"
start_game "$GAME_DIR" modal_box
poll 10 has_window "$CAPTION" || fail "no box captioned $CAPTION within 10 s"
poll 5 has_window || fail "the game window is not there while the box is open"
running "$GAME_PID" || fail "the program ended without waiting for its box"
# the box takes the keyboard when it opens; take it back only after that, or Esc would go to the box
box=$(windows_named "$CAPTION")
box_has_focus() { [ "$(( $(xdotool getwindowfocus) ))" = "$(( box ))" ]; }
poll 5 box_has_focus || fail "the box $box never took the keyboard"
escape_ends
[ -z "$(windows_named "$CAPTION")" ] || fail "the box stays after the program ended"

# click_ok CAPTION: the box comes, a mouse click on its OK button (centred, 14 px above the bottom
# edge, 28 px high) closes it, and the program goes on.
click_ok() {
    poll 10 has_window "$1" || fail "no box captioned $1 within 10 s"
    local box w h
    box=$(windows_named "$1")
    # the box is named before it is shown: a click before then would land on the window beneath
    poll 5 shown "$box" || fail "the box captioned $1 was never shown"
    IFS=x+ read -r w h _ <<<"$(geometry "$box")"
    xdotool mousemove --window "$box" $((w / 2)) $((h - 28)) click 1
    gone() { ! has_window "$1"; }
    poll 5 gone "$1" || fail "the box captioned $1 stays after a click on its OK button"
    running "$GAME_PID" || fail "the program ended when its box was clicked"
}
play_story box_mouse '#set_text_wait 0' '#nosuch' '#select3 {' 'one' 'two' 'three' '/#nosuch' '/#halt' \
    '/#halt' '}' '#wait' '#nosuch' '#halt'
# a box, then choice 1 and its box, then the click-wait and its box, then the halt
for point in "60 72" "300 300" "300 300"; do
    click_ok "Command_call()"
    sleep 0.5
    xdotool mousemove --window "$WIN" $point click 1
done
wait_exit "$GAME_PID" 5 "the program, after its boxes were clicked closed and the halt was clicked," 0

echo "PASS: centred window shown exactly, every drawn pixel and an expose presented, quick clicks picked, Esc ends under a box, boxes closed by the mouse"
