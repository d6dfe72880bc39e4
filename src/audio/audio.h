// Audio: one sound effect at a time, and background music (MIDI or MP3) that loops without end by
// being reopened each time the platform tells that the piece has ended.
#pragma once

#include "core.h"

// ---- sound effects (sound.cpp)
// play_wav MODE NAME: .\wav\NAME once (mode 1: looping); any mode but 1 plays once.
int Com_play_wav();
// Silences the effect if one was started; reads no argument.
int Com_stop_wav();

// ---- background music (music.cpp); none of them touches a mode flag
// The kinds game.bgm_kind holds, as saves keep them.
enum Music_kind : int { MUSIC_MIDI = 0, MUSIC_MP3 = 1 };
// play_midi NAME, play_mp3 NAME: .\MIDI\NAME, unless music plays (then the name is read and dropped).
int Com_play_midi();
int Com_play_mp3();
// Stop the music of their kind; read no argument.
int Com_stop_midi();
int Com_stop_mp3();
// The window procedure's answer to the end of a piece: the same piece reopened and played again.
int Com_restart_midi();
int Com_restart_mp3();

// Stops the MIDI music, the MP3 music and the sound effect, in that order: the program's end and a
// restored story start from silence.
inline void Audio_stop_all() {
    Com_stop_midi();
    Com_stop_mp3();
    Com_stop_wav();
}
