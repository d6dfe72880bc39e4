// The SDL backend's sound: the effect on mixer channel 0 and the music pieces, on SDL2_mixer.
#include "sdl_backend.h"

#include "../mixer.h"

#include <atomic>

namespace {

// the device whose piece the mixer plays with its end still to be told; the audio thread takes it
std::atomic<int> ending{0};
// what is left of that piece's own length, in sample frames; the audio thread counts it down
std::atomic<int64_t> frames_left{0};

// Runs on the audio thread at the end of a piece (or in Mix_HaltMusic): it only posts the notice.
void SDLCALL Finished() {
    if (int device = ending.exchange(0)) Music_ended(device);
}

// FluidSynth ends a piece only once its last notes have died away, seconds after its last event:
// the frames the device has taken since the piece began tell its end where the desktop does, in
// the device's own time.
void SDLCALL Count_frames(void*, Uint8*, int bytes) {
    int64_t left = frames_left.load();
    if (left <= 0) return;
    left -= bytes / 4; // 16-bit stereo
    frames_left = left;
    if (left <= 0) Finished();
}

} // namespace

Sdl_audio::~Sdl_audio() {
    if (!on) return;
    Mix_HookMusicFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
    stop_sound();
    for (int d = 1; d <= MUSIC_DEVICES; d++) close_music(d);
    Mixer_close();
}

void Sdl_audio::start() {
    if (on) return;
    on = Mixer_open(false);
    if (!on) return;
    Mix_HookMusicFinished(Finished);
    Mix_SetPostMix(Count_frames, nullptr);
}

bool Sdl_audio::play_sound(const std::string& file, bool loop) {
    Mix_Chunk* chunk = on ? Mix_LoadWAV(file.c_str()) : nullptr;
    if (!chunk) return false;
    stop_sound();
    effect = chunk;
    Mix_PlayChannel(0, effect, loop ? -1 : 0);
    return true;
}

void Sdl_audio::play_chime() {
    if (Mix_Chunk* chime = on ? Mixer_chime() : nullptr) Mix_PlayChannel(0, chime, 0);
}

void Sdl_audio::stop_sound() {
    if (!on) return;
    Mix_HaltChannel(0);
    Mix_FreeChunk(effect);
    effect = nullptr;
}

MCIERROR Sdl_audio::open_music(int device, const std::string& file, bool midi) {
    return Mixer_load_music(file, midi, Installed_soundfont(), &pieces[device - 1], &seconds[device - 1]);
}

void Sdl_audio::play_music(int device) {
    Mix_Music* piece = pieces[device - 1];
    if (!piece) return;
    // watched for before it starts, so that no end can pass unseen; starting a piece does not call
    // the hook for the one it replaces
    double length = seconds[device - 1];
    frames_left = length > 0 && length < 86400 ? (int64_t)(length * MIXER_RATE + 0.5) : 0;
    ending = device;
    current = Mix_PlayMusic(piece, 0) == 0 ? device : 0;
    if (!current) {
        ending = 0;
        frames_left = 0;
    }
}

void Sdl_audio::stop_music(int device) {
    if (current != device) return;
    frames_left = 0;
    ending = 0;
    Mix_HaltMusic();
    current = 0;
}

void Sdl_audio::close_music(int device) {
    stop_music(device);
    Mix_FreeMusic(pieces[device - 1]);
    pieces[device - 1] = nullptr;
}
