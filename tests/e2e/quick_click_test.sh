#!/bin/bash
# Clicks as quick as a touchpad tap, press and release at once, still pick the start menu's
# button and a choice in the real window: the menus look at the held button on their passes.
source "$(dirname "$0")/lib.sh"

start_xvfb
make_game_folder game
printf '%s\r\n' '#start_menu 220, 250' '#select3 {' 'one' 'two' 'three' '/#halt' '/#halt' '/#halt' '}' \
    >"$GAME_DIR/txt/config.tda"

start_game "$GAME_DIR" game
pid=$GAME_PID
has_window() { [ -n "$(windows_named "$TITLE")" ]; }
poll 10 has_window || fail "no window named \"$TITLE\" within 10 s"
win=$(windows_named "$TITLE")
sleep 1
# the button, then choice 1 (from (40, 59) to (100, 85)), then the click that ends the halt
for point in "300 350" "60 72" "60 72"; do
    xdotool mousemove --window "$win" $point click 1
    sleep 0.7
done
wait_exit "$pid" 5 "the program, after the menu, the choice and the halt were clicked,"
[ "$EXIT_CODE" = 0 ] || fail "the program exited with $EXIT_CODE, not 0"
echo "PASS: quick clicks picked the start menu and a choice, and ended the halt"
