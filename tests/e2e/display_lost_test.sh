#!/bin/bash
# A display server that dies under the program ends it promptly, with code 1 and one line saying
# why: while the story types, and while a second copy's box is open beside the first copy.
source "$(dirname "$0")/lib.sh"

# ends_on_lost_display PID NAME: after the display died, the program ends with 1 and says why.
ends_on_lost_display() {
    wait_exit "$1" 10 "$2, once its display was gone," 1
    grep -qx 'veltrane: the display connection was lost' "$WORK/$2.log" || fail "$2 did not say the display was lost"
}

make_game_folder game

start_xvfb
start_game "$GAME_DIR" typing
typing=$GAME_PID
poll 10 has_window "$TITLE" || fail "no window named \"$TITLE\" within 10 s"
sleep 1
lose_display
ends_on_lost_display "$typing" typing

start_xvfb
start_game "$GAME_DIR" first
first=$GAME_PID
poll 10 has_window "$TITLE" || fail "the first copy opened no window within 10 s"
start_game "$GAME_DIR" second
second=$GAME_PID
poll 10 has_window "警告" || fail "the second copy showed no box within 10 s"
lose_display
ends_on_lost_display "$first" first
ends_on_lost_display "$second" second

echo "PASS: a lost display ends the typing story and an open box with 1, saying so"
