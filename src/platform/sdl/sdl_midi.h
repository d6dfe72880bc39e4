// MIDI on one FluidSynth synthesizer for the whole process: the soundfont is loaded once, on a
// thread of its own, and each piece is a player of that synthesizer, rendered as the mixer's music.
#pragma once

#include <SDL.h>
#include <fluidsynth.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Sdl_midi {
  public:
    ~Sdl_midi();
    // Starts loading the soundfont; later calls do nothing.
    void load(const std::string& soundfont);
    // Makes the mixer's music this piece (the bytes of a MIDI file), from its start: at once, or as
    // soon as the soundfont is loaded. After frames device frames of it, Music_ended(device).
    void play(const std::vector<unsigned char>& piece, int device, int64_t frames);
    // Silences the piece; its end is not told. The mixer's music is free for another kind.
    void stop();
    // The soundfont was loaded and refused: no piece can sound. A piece that was waiting for it is
    // told ended at once, so that its next start finds it cannot play.
    bool failed();
    // The loudness of every piece, 0 to 1 of the full gain.
    void set_volume(double volume);

  private:
    static void SDLCALL Render(void* self, Uint8* stream, int bytes);
    void Build(std::string soundfont);
    void Start();
    void Refuse_waiting();
    void Drop_player();

    std::mutex lock; // guards all below against the audio thread and the loading thread
    std::thread loader;
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr; // once loaded
    bool load_failed = false;
    fluid_player_t* player = nullptr;
    std::vector<unsigned char> waiting; // a piece to start once the soundfont is loaded
    int device = 0;                     // whose end is still to be told
    int64_t frames_left = 0;
    double volume = 1;
};
