// The browser backend's sound service: the page's Web Audio behind the desktop's sound calls.
#pragma once

#include "backend/sound_backend.h"

class Web_audio : public Sound_backend {
  public:
    bool play_sound(const std::string& file, bool loop) override;
    void play_chime() override;
    void stop_sound() override;
    MCIERROR open_music(int device, const std::string& file, bool midi) override;
    void play_music(int device) override;
    void stop_music(int device) override;
    void close_music(int device) override;
    void set_volumes(DWORD effects, DWORD music) override;

  private:
    bool opened[MUSIC_DEVICES] = {};
    int current = 0; // the device whose piece plays
};
