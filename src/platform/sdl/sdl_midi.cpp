// FluidSynth driven directly: SDL2_mixer would make a synthesizer, and load the soundfont, for
// every piece it opens.
#include "sdl_midi.h"

#include "backend/sound_backend.h"
#include "sound/mixer.h"

#include <SDL_mixer.h>

namespace {

// Voices sounding at once: FluidSynth makes 256; the demo's pieces sound the same with 64.
constexpr int POLYPHONY = 64;
// the loudness SDL2_mixer gave FluidSynth pieces at full volume, six times FluidSynth's default
constexpr double GAIN = 1.2;

} // namespace

Sdl_midi::~Sdl_midi() {
    if (loader.joinable()) loader.join();
    Drop_player();
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
}

void Sdl_midi::load(const std::string& soundfont) {
    if (loader.joinable() || soundfont.empty()) return;
    loader = std::thread(&Sdl_midi::Build, this, soundfont);
}

// On the loading thread: the synthesizer is made and filled before the others can see it.
void Sdl_midi::Build(std::string soundfont) {
    fluid_settings_t* made_settings = new_fluid_settings();
    fluid_synth_t* made = nullptr;
    if (made_settings) {
        fluid_settings_setnum(made_settings, "synth.sample-rate", MIXER_RATE);
        fluid_settings_setint(made_settings, "synth.polyphony", POLYPHONY);
        fluid_settings_setnum(made_settings, "synth.gain", GAIN);
        // only the instruments a piece selects are in memory: 5 MB less for the demo's theme
        fluid_settings_setint(made_settings, "synth.dynamic-sample-loading", 1);
        made = new_fluid_synth(made_settings);
    }
    if (made && fluid_synth_sfload(made, soundfont.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(made);
        made = nullptr;
    }
    std::lock_guard<std::mutex> hold(lock);
    settings = made_settings;
    synth = made;
    load_failed = !synth;
    if (synth) fluid_synth_set_gain(synth, (float)(GAIN * volume));
    if (synth && !waiting.empty()) Start();
    if (load_failed) Refuse_waiting();
}

void Sdl_midi::set_volume(double v) {
    std::lock_guard<std::mutex> hold(lock);
    volume = v;
    if (synth) fluid_synth_set_gain(synth, (float)(GAIN * volume));
}

// With the lock held, the soundfont refused: the waiting piece ends before it sounds.
void Sdl_midi::Refuse_waiting() {
    waiting.clear();
    if (device) Music_ended(device);
    device = 0;
}

bool Sdl_midi::failed() {
    std::lock_guard<std::mutex> hold(lock);
    return load_failed;
}

// With the lock held and the synthesizer loaded: the waiting piece begins.
void Sdl_midi::Start() {
    // each piece from the synthesizer's first state, as a new synthesizer would play it
    fluid_synth_system_reset(synth);
    player = new_fluid_player(synth);
    if (player && fluid_player_add_mem(player, waiting.data(), waiting.size()) == FLUID_OK)
        fluid_player_play(player);
    waiting.clear();
}

void Sdl_midi::Drop_player() {
    if (player) delete_fluid_player(player);
    player = nullptr;
}

void Sdl_midi::play(const std::vector<unsigned char>& piece, int piece_device, int64_t frames) {
    {
        std::lock_guard<std::mutex> hold(lock);
        Drop_player();
        waiting = piece;
        device = piece_device;
        frames_left = frames;
        if (synth) Start();
        if (load_failed) Refuse_waiting();
    }
    // outside the lock: the mixer takes the audio device's lock, which Render runs under
    Mix_HookMusic(Render, this);
}

void Sdl_midi::stop() {
    Mix_HookMusic(nullptr, nullptr);
    std::lock_guard<std::mutex> hold(lock);
    Drop_player();
    waiting.clear();
    device = 0;
}

// On the audio thread, as the mixer's music; the stream comes silent. The piece's frames are
// counted from its first sound, so a piece that waited for the soundfont ends as late as it began.
void SDLCALL Sdl_midi::Render(void* self, Uint8* stream, int bytes) {
    auto* m = static_cast<Sdl_midi*>(self);
    std::lock_guard<std::mutex> hold(m->lock);
    if (!m->player) return;
    int frames = bytes / 4; // 16-bit stereo
    fluid_synth_write_s16(m->synth, frames, stream, 0, 2, stream, 1, 2);
    if (m->device && m->frames_left > 0 && (m->frames_left -= frames) <= 0) {
        // under the lock: a stop or a new play that took it first has already dropped this notice
        Music_ended(m->device);
        m->device = 0;
    }
}
