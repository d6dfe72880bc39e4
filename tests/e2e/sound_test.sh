#!/bin/bash
# Real sound from the real program, recorded by SDL's disk audio driver: the demo's WAV effect, MP3
# and MIDI pieces each sound above a loudness floor, each stop brings silence, and a short MIDI
# piece (a second of note, two of rest) is heard again after its end. The driver writes no faster than
# a sound card plays, and slower on a loaded machine: the test waits for the recording, and the
# lengths it checks are the sounds' own, or loose where a command's timing sets them.
source "$(dirname "$0")/lib.sh"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/out.raw"
start_xvfb
make_game_folder game
# 120 beats a minute, 480 ticks a beat: a piano C4 for 960 ticks, the end 1920 ticks later
printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\21\0\300\0\0\220\74\144\207\100\200\74\0\217\0\377\57\0' \
    >"$GAME_DIR/MIDI/beat.mid"
# the script takes about 20 s; its end is a halt, and the recording runs on in silence
play_story game '#play_wav 0, bell.wav' '#delay 2500' '#play_mp3 evening.mp3' '#delay 3000' '#stop_mp3' \
    '#delay 1500' '#play_midi theme.mid' '#delay 3000' '#stop_midi' '#delay 1500' '#play_midi beat.mid' \
    '#delay 4500' '#stop_midi' '#delay 2000' '#halt'
recorded() { [ "$(stat -c %s "$WORK/out.raw" 2>/dev/null || echo 0)" -ge $((23 * 44100 * 4)) ]; }
poll 80 recorded || fail "not 23 s of sound recorded within 80 s"
running "$GAME_PID" || fail "the program ended while playing"
escape_ends

# what sounded and for how long, checked there
python3 "$(dirname "$0")/audio_segments.py" "$WORK/out.raw" >"$WORK/segments.log" 2>"$WORK/check.log" ||
    fail "$(cat "$WORK/check.log"); heard: $(tr '\n' ';' <"$WORK/segments.log")"

echo "PASS: bell, MP3 and MIDI heard, each stop silent, the MIDI loop heard again: $(tr '\n' ';' <"$WORK/segments.log")"
