#!/bin/bash
# How the real program starts, one run after another in a real X server:
# - with no usable sound device the story plays silently: music and effects are accepted (no
#   failure box), the window opens, and Esc ends it with 0;
# - started at a later script and label with a flag on, the first box comes from that scene; a
#   label that is not there ends the program with code 2 and the reason on stderr;
# - with no font at all, a box cannot draw its text: its caption and text go to stderr as one
#   line, and its button still shows a dark label;
# - started outside a game folder, the program says so on the terminal, with how to name one, and
#   each of its boxes comes as a line there too.
source "$(dirname "$0")/lib.sh"

start_xvfb
SDL_AUDIODRIVER=no-such-driver play_story no_sound_card '#play_midi theme.mid' '#play_wav 1 rain.wav' 'A#wait'
sleep 2
running "$GAME_PID" || fail "with no sound device the program ended"
has_window "Com_play_midi()" && fail "with no sound device the MIDI piece was refused with a box"
escape_ends

make_game_folder start_options
start_game "$GAME_DIR" start_options --script txt/chapter3.tda --label '*灯室' --flag 10 --flag 255
shown() { grep -qsxE 'txt/chapter3.tda:[0-9]+: Com_disp_flag\(\): Flag 10 = ON ' "$WORK/start_options.log"; }
poll 10 shown || fail "the scene's first box was not told"
reap KILL
start_game "$GAME_DIR" missing_label --script txt/chapter3.tda --label '*灯室です'
wait_exit "$GAME_PID" 10 "the program, started at a missing label," 2
says missing_label 'veltrane: there is no label *灯室です in txt/chapter3.tda' || fail "a missing label was not told"

CAPTION="えらー"
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$WORK/fontcache" >"$WORK/fonts.conf"
# the story types a letter at once
printf '%s\r\n' 'A#wait' >"$GAME_DIR/txt/config.tda"
FONTCONFIG_FILE="$WORK/fonts.conf" start_game "$GAME_DIR" no_fonts
poll 10 has_window "$CAPTION" || fail "with no fonts, no box captioned $CAPTION within 10 s"
poll 5 says no_fonts "veltrane: $CAPTION: フォント失敗" || fail "the box's caption and text did not reach stderr"
poll 5 dark_pixels "$(windows_named "$CAPTION" | head -n 1)" || fail "the box's button has no label"
running "$GAME_PID" || fail "the program ended without waiting for its box"
# gone, or the next run would be a second copy
reap KILL

mkdir -p "$WORK/nothing"
start_game "$WORK/nothing" nothing
poll 10 says nothing "veltrane: there is no txt/config.tda in $WORK/nothing: start veltrane in a game folder, or name one: veltrane GAME_DIR" ||
    fail "outside a game folder, no hint on stderr"
poll 5 says nothing "veltrane: Load_Bmp(): 画像読み込みに失敗しました (gdat/Parts.bgh)" ||
    fail "outside a game folder, the box did not reach stderr"

echo "PASS: no sound device, start options, no fonts and no game folder start as they should"
