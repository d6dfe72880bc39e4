// SDL2_mixer as both backends use it: the audio device, opened once for a backend, the default
// chime, the decoding of MP3 files and the reading of MIDI files.
#pragma once

#include "desktop_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>
#include <vector>

// Opens SDL's audio and the mixer, 44.1 kHz 16-bit stereo: on the sound card, or on SDL's silent
// driver when there is no card or silent is asked for. False when neither opens. Once open, later
// calls only answer true.
bool Mixer_open(bool silent);
constexpr int MIXER_RATE = 44100;
// Frees the chime and closes the mixer and SDL's audio; the caller has freed its chunks and pieces.
void Mixer_close();
// The General MIDI soundfont of the package timgm6mb-soundfont; empty when it is not installed.
const std::string& Installed_soundfont();
// Decodes an MP3 file: 0 with *piece set and *seconds its length (-1 when unknown);
// MCIERR_INVALID_FILE for a file the decoder refuses or a piece shorter than MUSIC_MIN_SECONDS;
// MCIERR_HARDWARE before the mixer is open.
MCIERROR Mixer_load_mp3(const std::string& file, Mix_Music** piece, double* seconds);
// Reads a MIDI file whole into *bytes, with *seconds its length: MCIERR_SEQ_NOMIDIPRESENT without
// the soundfont file or with one that is no whole soundfont, MCIERR_INVALID_FILE for a file that does not
// read whole, one over MIDI_MAX_BYTES or a piece shorter than MUSIC_MIN_SECONDS. Needs no mixer: the
// synthesizer is the caller's.
MCIERROR Mixer_read_midi(const std::string& file, const std::string& soundfont,
                         std::vector<unsigned char>* bytes, double* seconds);
// The platform's default sound: a short two-note chime of our own, made when first asked for.
Mix_Chunk* Mixer_chime();
