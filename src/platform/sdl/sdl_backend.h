// Inside the SDL backend: the game window and the dialogs share one SDL event queue.
#pragma once

#include "backend/backend.h"
#include "sdl_midi.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>
#include <vector>

// One open message box: its window, what it shows, and whether it is done.
struct Sdl_dialog {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Surface* picture = nullptr;
    std::vector<std::string> lines; // the text, CP932, a line each
    SDL_Rect button{};
    bool pressed = false; // the button is held down
    bool hovered = false;
    bool done = false;
    bool dirty = true;
};

// The backend's sound and music on SDL2_mixer, MIDI on FluidSynth; nothing is opened before the
// first sound. Without a sound card the mixer runs on SDL's silent driver.
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

  private:
    bool start();
    bool started = false; // the mixer was asked for, once
    bool on = false;      // and runs
    Mix_Chunk* effect = nullptr;
    Mix_Music* pieces[MUSIC_DEVICES] = {};                // the MP3 pieces
    std::vector<unsigned char> midi_files[MUSIC_DEVICES]; // the MIDI pieces, as their files
    double seconds[MUSIC_DEVICES] = {};                   // their lengths, -1 when unknown
    int current = 0; // the device whose piece was last started, until it is stopped
    Sdl_midi synth;
};

// Builds, draws and runs a dialog window; the backend routes its events to Dialog_event.
bool Dialog_open(Sdl_dialog& d, const std::string& text, const std::string& caption);
void Dialog_event(Sdl_dialog& d, const SDL_Event& e);
void Dialog_draw(Sdl_dialog& d);
void Dialog_close(Sdl_dialog& d);

bool Sdl_video_start();
