#!/bin/bash
# With no usable sound device the program still plays the story, silently: music and effects are
# accepted (no failure box), the window opens, and Esc ends it with 0.
source "$(dirname "$0")/lib.sh"

start_xvfb
make_game_folder game
printf '%s\r\n' '#play_midi theme.mid' '#play_wav 1 rain.wav' 'A#wait' >"$GAME_DIR/txt/config.tda"

export SDL_AUDIODRIVER=no-such-driver
start_game "$GAME_DIR" game
pid=$GAME_PID
has_window() { [ -n "$(windows_named "$TITLE")" ]; }
poll 10 has_window || fail "no window named \"$TITLE\" within 10 s"
sleep 2
running "$pid" || fail "the program ended: $(cat "$WORK/game.log")"
[ -z "$(windows_named "Com_play_midi()")" ] || fail "the MIDI piece was refused with a box"
win=$(windows_named "$TITLE")
xdotool windowfocus --sync "$win" && xdotool key Escape
wait_exit "$pid" 5 "the program, after Esc,"
[ "$EXIT_CODE" = 0 ] || fail "the program exited with $EXIT_CODE, not 0"
echo "PASS: no sound device, the story plays silently and ends with 0"
