#!/bin/bash
# SIGTERM and SIGINT end a second copy whose "already running" box is open, as they end the game
# window: at once, with code 0, the box gone and the first copy untouched.
source "$(dirname "$0")/lib.sh"

CAPTION="警告"

start_xvfb
make_game_folder game
start_game "$GAME_DIR" first
first=$GAME_PID
poll 10 has_window "$TITLE" || fail "the first copy opened no window within 10 s"

for signal in TERM INT; do
    start_game "$GAME_DIR" "second-$signal"
    second=$GAME_PID
    poll 10 has_window "$CAPTION" || fail "the second copy showed no box captioned $CAPTION within 10 s"
    kill -"$signal" "$second"
    wait_exit "$second" 5 "the second copy, after SIG$signal while its box was open,"
    [ "$EXIT_CODE" = 0 ] || fail "SIG$signal ended the second copy with $EXIT_CODE, not 0"
    [ -z "$(windows_named "$CAPTION")" ] || fail "the box stays after SIG$signal ended the second copy"
done
running "$first" || fail "the first copy ended with the second"

echo "PASS: SIGTERM and SIGINT end a second copy's open box with 0"
