// The SDL backend's sound: the effect on mixer channel 0, MP3 pieces as the mixer's music and MIDI
// pieces on the process's one synthesizer, hooked in as the mixer's music.
#include "sdl_audio.h"

#include "sound/mixer.h"

#include <atomic>

namespace {

// the device whose MP3 piece the mixer plays with its end still to be told; the audio thread takes it
std::atomic<int> ending{0};
// what is left of that piece's own length, in sample frames; the audio thread counts it down
std::atomic<int64_t> frames_left{0};

// Runs on the audio thread at the end of a piece (or in Mix_HaltMusic): it only posts the notice.
void SDLCALL Finished() {
    if (int device = ending.exchange(0)) Music_ended(device);
}

// The decoder may end a piece later than its own length says: the frames the device has taken
// since the piece began tell its end where the desktop does, in the device's own time.
void SDLCALL Count_frames(void*, Uint8*, int bytes) {
    int64_t left = frames_left.load();
    if (left <= 0) return;
    left -= bytes / 4; // 16-bit stereo
    frames_left = left;
    if (left <= 0) Finished();
}

// A piece's own length in device frames; 0 when it is not known.
int64_t Frames(double seconds) {
    return seconds > 0 && seconds < 86400 ? (int64_t)(seconds * MIXER_RATE + 0.5) : 0;
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

// The mixer, at the first sound: a story that plays none never opens the device.
bool Sdl_audio::start() {
    if (started) return on;
    started = true;
    on = Mixer_open(false);
    if (!on) return false;
    Mix_HookMusicFinished(Finished);
    Mix_SetPostMix(Count_frames, nullptr);
    set_volumes(effect_volume, music_volume);
    // on its own thread: by the time a story plays MIDI the soundfont is mostly loaded
    synth.load(Installed_soundfont());
    return true;
}

bool Sdl_audio::play_sound(const std::string& file, bool loop) {
    Mix_Chunk* chunk = start() ? Mix_LoadWAV(file.c_str()) : nullptr;
    if (!chunk) return false;
    stop_sound();
    effect = chunk;
    Mix_PlayChannel(0, effect, loop ? -1 : 0);
    return true;
}

void Sdl_audio::play_chime() {
    if (Mix_Chunk* chime = start() ? Mixer_chime() : nullptr) Mix_PlayChannel(0, chime, 0);
}

void Sdl_audio::stop_sound() {
    if (!on) return;
    Mix_HaltChannel(0);
    Mix_FreeChunk(effect);
    effect = nullptr;
}

MCIERROR Sdl_audio::open_music(int device, const std::string& file, bool midi) {
    if (!start()) return MCIERR_HARDWARE;
    if (midi) {
        std::vector<unsigned char>& bytes = midi_files[device - 1];
        MCIERROR read = Mixer_read_midi(file, Installed_soundfont(), &bytes, &seconds[device - 1]);
        if (read != 0 || !synth.failed()) return read;
        bytes.clear();
        return MCIERR_SEQ_NOMIDIPRESENT;
    }
    return Mixer_load_mp3(file, &pieces[device - 1], &seconds[device - 1]);
}

void Sdl_audio::play_music(int device) {
    const std::vector<unsigned char>& midi = midi_files[device - 1];
    Mix_Music* piece = pieces[device - 1];
    if (!piece && midi.empty()) return;
    // one piece at a time, and the mixer's music free for either kind
    if (current) stop_music(current);
    int64_t frames = Frames(seconds[device - 1]);
    if (!midi.empty()) {
        synth.play(midi, device, frames);
        current = device;
        return;
    }
    // watched for before it starts, so that no end can pass unseen
    frames_left = frames;
    ending = device;
    current = Mix_PlayMusic(piece, 0) == 0 ? device : 0;
    if (!current) {
        ending = 0;
        frames_left = 0;
    }
}

void Sdl_audio::stop_music(int device) {
    if (current != device) return;
    current = 0;
    if (!midi_files[device - 1].empty()) {
        synth.stop();
        return;
    }
    frames_left = 0;
    ending = 0;
    Mix_HaltMusic();
}

// The mixer's volumes run from 0 to MIX_MAX_VOLUME; the synthesizer's gain is scaled as the music's.
void Sdl_audio::set_volumes(DWORD effects, DWORD music) {
    effect_volume = effects;
    music_volume = music;
    synth.set_volume(music / 65535.0);
    if (!on) return;
    Mix_Volume(0, (int)(effects * MIX_MAX_VOLUME / 0xFFFF));
    Mix_VolumeMusic((int)(music * MIX_MAX_VOLUME / 0xFFFF));
}

void Sdl_audio::close_music(int device) {
    stop_music(device);
    Mix_FreeMusic(pieces[device - 1]);
    pieces[device - 1] = nullptr;
    midi_files[device - 1] = {};
}
