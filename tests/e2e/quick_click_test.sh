#!/bin/bash
# Clicks as quick as a touchpad tap, press and release at once, still pick the start menu's
# button and a choice in the real window: the menus look at the held button on their passes.
source "$(dirname "$0")/lib.sh"

play_story '#start_menu 220, 250' '#select3 {' 'one' 'two' 'three' '/#halt' '/#halt' '/#halt' '}'
sleep 1
# the button, then choice 1 (from (40, 59) to (100, 85)), then the click that ends the halt
for point in "300 350" "60 72" "60 72"; do
    xdotool mousemove --window "$WIN" $point click 1
    sleep 0.7
done
wait_exit "$GAME_PID" 5 "the program, after the menu, the choice and the halt were clicked," 0
echo "PASS: quick clicks picked the start menu and a choice, and ended the halt"
