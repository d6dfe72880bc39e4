#!/bin/bash
# A gamepad in the real window, through SDL's game controllers: a stand-in pad (SDL's virtual joystick,
# fed lines through VELTRANE_TEST_PAD) lights and picks the start button and a choice, with the d-pad
# and the left stick, to the very picture the mouse's run leaves; pulled out and plugged in again it
# still plays; B opens the reader's menu and closes it, the d-pad held comes again, and the menu's last
# row ends the story. A also answers one of the engine's boxes.
source "$(dirname "$0")/lib.sh"

export XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
start_xvfb
STORY=('#set_text_wait 0' '#start_menu 220,250' 'Which way?' '#select3 {' 'North' 'South' 'East'
    '/The road north.#halt' '/The road south.#halt' '/The road east.#halt' '}')
# has_colour X Y W H RRGGBB: some pixel of the rectangle of the window's picture is of the colour
has_colour() {
    import -window "$WIN" "$WORK/px.png" 2>/dev/null &&
        convert "$WORK/px.png" -crop "$3x$4+$1+$2" +repage txt:- | grep -i "#$5" >/dev/null
}
settled() { import -window "$WIN" "$WORK/$1.png" 2>/dev/null && sleep 0.3 && shows "$WIN" "$WORK/$1.png"; }
BUTTON="262 351 1 1"                                          # a pixel of the start button's edge
NORTH="40 59 80 26" SOUTH="40 85 80 26" EAST="40 111 70 26" # the choices' lines
PANEL="320 240 1 1" # a pixel of the reader's menu, clear of its rows' text
# a pixel right of the text of the menu's first row and of its second, and that column down its rows
ROW1="480 113 1 1" ROW2="480 141 1 1" ROWS="480 100 1 310"

play_story mouse "${STORY[@]}"
xdotool windowfocus --sync "$WIN"
poll 10 has_colour $BUTTON C8AA5A || fail "the mouse's run: no start menu"
xdotool mousemove --window "$WIN" 320 351
poll 5 has_colour $BUTTON FFDC78 || fail "the mouse's run: the start button did not light"
xdotool click 1
poll 5 has_colour $SOUTH FFFF64 || fail "the mouse's run: no choice"
xdotool mousemove --window "$WIN" 80 98
poll 5 has_colour $SOUTH FF3232 || fail "the mouse's run: South did not light"
xdotool click 1
sleep 0.5
poll 5 settled mouse || fail "the mouse's run: the picture did not settle"
xdotool key Return
wait_exit "$GAME_PID" 10 "the mouse's run, clicked at its end," 0

mkfifo "$WORK/pad.fifo"
exec 5<>"$WORK/pad.fifo"
pad() { for line in "$@"; do echo "$line" >&5 && sleep 0.1; done; }
# off the window: a move of the real mouse would take the pad's item away
xdotool mousemove 1000 700
VELTRANE_TEST_PAD="$WORK/pad.fifo" play_story pad "${STORY[@]}"
xdotool windowfocus --sync "$WIN"
pad attach
poll 10 has_colour $BUTTON C8AA5A || fail "the pad's run: no start menu"
pad "press dpdown" "release dpdown"
poll 5 has_colour $BUTTON FFDC78 || fail "the d-pad did not light the start button"
pad "press a" "release a"
poll 5 has_colour $SOUTH FFFF64 || fail "A did not pick the start button"
pad detach attach
pad "axis lefty -32768" "axis lefty 0"
poll 5 has_colour $EAST FF3232 || fail "the stick pushed up, after the pad came back, did not light the last line"
pad "press dpdown" "release dpdown" "press dpdown" "release dpdown"
poll 5 has_colour $SOUTH FF3232 || fail "the d-pad did not wrap round to South"
has_colour $NORTH FF3232 && fail "North is still lit"
pad "press a" "release a"
sleep 0.5
poll 5 shows "$WIN" "$WORK/mouse.png" || fail "the pad's run left $differing pixels unlike the mouse's"
pad "press b" "release b"
poll 5 has_colour $PANEL 101020 || fail "B did not open the reader's menu"
pad "press b" "release b"
poll 5 shows "$WIN" "$WORK/mouse.png" || fail "B did not close the reader's menu ($differing pixels)"
# the d-pad held comes again, as a held arrow key does: a second's hold goes past the second row
pad "press b" "release b"
poll 5 has_colour $PANEL 101020 || fail "B did not open the reader's menu again"
pad "press dpdown" && sleep 1 && pad "release dpdown"
lit_past_second() { ! has_colour $ROW1 283060 && ! has_colour $ROW2 283060 && has_colour $ROWS 283060; }
poll 5 lit_past_second || fail "the d-pad held down for a second did not move past the menu's second row"
pad "press b" "release b"
poll 5 shows "$WIN" "$WORK/mouse.png" || fail "B did not close the reader's menu ($differing pixels)"
pad "press b" "release b" "press dpup" "release dpup"
poll 5 has_colour $PANEL 101020 || fail "B did not open the reader's menu a third time"
pad "press a"
wait_exit "$GAME_PID" 10 "the pad's run, at its menu's last row," 0

# a box of the engine's, answered by the pad: then the story has stopped, and A ends it
VELTRANE_TEST_PAD="$WORK/pad.fifo" play_story box '#select3 one two three'
poll 10 has_window Error || fail "no box for a choice without its braces"
xdotool windowfocus --sync "$(windows_named Error)"
pad attach "press a" "release a"
poll 5 eval '! has_window Error' || fail "A did not answer the box"
xdotool windowfocus --sync "$WIN"
pad "press a"
wait_exit "$GAME_PID" 10 "the run whose box the pad answered, at its end," 0
echo "gamepad: 3 runs passed, 0 failed"
