#!/bin/bash
# With no usable sound device the program still plays the story, silently: music and effects are
# accepted (no failure box), the window opens, and Esc ends it with 0.
source "$(dirname "$0")/lib.sh"

export SDL_AUDIODRIVER=no-such-driver
start_xvfb
play_story game '#play_midi theme.mid' '#play_wav 1 rain.wav' 'A#wait'
sleep 2
running "$GAME_PID" || fail "the program ended: $(cat "$WORK/game.log")"
has_window "Com_play_midi()" && fail "the MIDI piece was refused with a box"
escape_ends "$GAME_PID"
echo "PASS: no sound device, the story plays silently and ends with 0"
