// The SDL backend's sound and music on SDL2_mixer, MIDI on FluidSynth; nothing is opened before the
// first sound. Without a sound card the mixer runs on SDL's silent driver.
#pragma once

#include "backend/sound_backend.h"
#include "sdl_midi.h"

#include <SDL_mixer.h>

#include <string>
#include <vector>

class Sdl_audio : public Sound_backend {
  public:
    ~Sdl_audio() override;
    bool play_sound(const std::string& file, bool loop) override;
    void play_chime() override;
    void stop_sound() override;
    MCIERROR open_music(int device, const std::string& file, bool midi) override;
    void play_music(int device) override;
    void stop_music(int device) override;
    void close_music(int device) override;
    void set_volumes(DWORD effects, DWORD music) override;

  private:
    bool start();
    bool started = false; // the mixer was asked for, once
    bool on = false;      // and runs
    Mix_Chunk* effect = nullptr;
    Mix_Music* pieces[MUSIC_DEVICES] = {};                // the MP3 pieces
    std::vector<unsigned char> midi_files[MUSIC_DEVICES]; // the MIDI pieces, as their files
    double seconds[MUSIC_DEVICES] = {};                   // their lengths, -1 when unknown
    int current = 0; // the device whose piece was last started, until it is stopped
    DWORD effect_volume = 0xFFFF, music_volume = 0xFFFF; // as set; applied once the mixer runs
    Sdl_midi synth;
};
