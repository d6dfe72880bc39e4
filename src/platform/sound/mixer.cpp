// SDL2_mixer opened for a backend, with the silent driver as the fallback, the default chime, MP3
// decoding through mpg123, and MIDI files read for their length.
#include "mixer.h"
#include "midi_length.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool opened = false;
Mix_Chunk* chime = nullptr;
std::vector<int16_t> chime_samples; // the chunk plays from this memory

bool Open_on(const char* driver) {
    if (driver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    bool ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (driver) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    // a fixed format: SDL converts for the card, and the chime can be made in it directly
    if (ok && Mix_OpenAudioDevice(MIXER_RATE, AUDIO_S16SYS, 2, 1024, nullptr, 0) == 0) return true;
    if (ok) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool Exists(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// A soundfont file as the synthesizer reads it: a RIFF "sfbk" form whose size is the file's. A file
// that is merely there may be cut short or no soundfont at all, and its pieces would never sound.
bool Soundfont_readable(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    unsigned char head[12] = {};
    bool read = std::fread(head, 1, sizeof head, f) == sizeof head;
    struct stat st {};
    bool sized = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    std::fclose(f);
    uint32_t size = head[4] | head[5] << 8 | head[6] << 16 | (uint32_t)head[7] << 24;
    return read && sized && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "sfbk", 4) == 0 &&
           (uint64_t)size + 8 == (uint64_t)st.st_size;
}

} // namespace

bool Mixer_open(bool silent) {
    if (opened) return true;
    if (!silent && !Open_on(nullptr)) {
        std::fprintf(stderr, "veltrane: no sound device (%s); playing silently\n", SDL_GetError());
        silent = true;
    }
    opened = !silent || Open_on("dummy");
    if (opened) Mix_Init(MIX_INIT_MP3);
    return opened;
}

void Mixer_close() {
    if (!opened) return;
    Mix_HaltChannel(-1);
    Mix_FreeChunk(chime);
    chime = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    opened = false;
}

const std::string& Installed_soundfont() {
    static const std::string found = [] {
        for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/TimGM6mb.sf2",
                                 "/usr/local/share/sounds/sf2/TimGM6mb.sf2"})
            if (Exists(path)) return std::string(path);
        return std::string();
    }();
    return found;
}

MCIERROR Mixer_load_mp3(const std::string& file, Mix_Music** piece, double* seconds) {
    *piece = nullptr;
    *seconds = -1;
    if (!opened) return MCIERR_HARDWARE;
    SDL_RWops* rw = SDL_RWFromFile(file.c_str(), "rb");
    if (rw) *piece = Mix_LoadMUSType_RW(rw, MUS_MP3, 1);
    if (*piece) *seconds = Mix_MusicDuration(*piece);
    if (*piece && *seconds >= 0 && *seconds < MUSIC_MIN_SECONDS) {
        Mix_FreeMusic(*piece);
        *piece = nullptr;
    }
    return *piece ? 0 : MCIERR_INVALID_FILE;
}

MCIERROR Mixer_read_midi(const std::string& file, const std::string& soundfont,
                         std::vector<unsigned char>* bytes, double* seconds) {
    bytes->clear();
    *seconds = -1;
    if (soundfont.empty() || !Soundfont_readable(soundfont)) return MCIERR_SEQ_NOMIDIPRESENT;
    FILE* in = std::fopen(file.c_str(), "rb");
    bool taken = in && Midi_read(in, bytes);
    if (in) std::fclose(in);
    if (!taken) return MCIERR_INVALID_FILE;
    // the synthesizer reads a file only once it plays, and cannot tell its length
    *seconds = Midi_seconds(bytes->data(), bytes->size());
    if (*seconds >= MUSIC_MIN_SECONDS) return 0;
    bytes->clear();
    return MCIERR_INVALID_FILE;
}

Mix_Chunk* Mixer_chime() {
    if (chime || !opened) return chime;
    // two bell-like notes, a fifth apart: each a tone and an inharmonic overtone, dying away
    const double notes[2][2] = {{0.0, 1046.5}, {0.11, 1568.0}};
    const int length = MIXER_RATE * 45 / 100;
    chime_samples.assign((size_t)length * 2, 0);
    for (int i = 0; i < length; i++) {
        double t = (double)i / MIXER_RATE, v = 0;
        for (const auto& [start, f] : notes) {
            if (t < start) continue;
            double u = t - start, attack = std::min(1.0, u / 0.004);
            v += attack * std::exp(-u * 9) *
                 (std::sin(2 * M_PI * f * u) + 0.3 * std::sin(2 * M_PI * f * 2.76 * u));
        }
        chime_samples[(size_t)i * 2] = chime_samples[(size_t)i * 2 + 1] = (int16_t)(v * 7000);
    }
    chime = Mix_QuickLoad_RAW((Uint8*)chime_samples.data(), (Uint32)(chime_samples.size() * sizeof(int16_t)));
    return chime;
}
