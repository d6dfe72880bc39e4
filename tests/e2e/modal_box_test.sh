#!/bin/bash
# While a message box is open, the game window's messages still reach the window procedure: with
# the start-up picture missing, the "Load_Bmp()" box waits during start-up, and Esc pressed in
# the game window ends the program, box and all, with code 0.
source "$(dirname "$0")/lib.sh"

CAPTION="Load_Bmp()"

start_xvfb
make_game_folder game
rm "$GAME_DIR/gdat/back_black.bgh"

start_game "$GAME_DIR" game
game=$GAME_PID
poll 10 has_window "$CAPTION" || fail "no box captioned $CAPTION within 10 s"
poll 5 has_window "$TITLE" || fail "the game window is not there while the box is open"
running "$game" || fail "the program ended without waiting for its box"

# the box takes the keyboard when it opens; take it back only after that, or Esc would go to the box
box=$(windows_named "$CAPTION")
box_has_focus() { [ "$(( $(xdotool getwindowfocus) ))" = "$(( box ))" ]; }
poll 5 box_has_focus || fail "the box $box never took the keyboard"

escape_ends "$game"
[ -z "$(windows_named "$CAPTION")" ] || fail "the box stays after the program ended"

echo "PASS: Esc in the game window reaches it while a box is open, and ends the program with 0"
