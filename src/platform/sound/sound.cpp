// PlaySound: one sound effect at a time from a wave file of the game folder, on the backend's
// effect channel.
#include "backend/backend.h"
#include "backend/backend_hooks.h"
#include "desktop_files.h"

#include <cstdio>
#include <cstring>

namespace {

unsigned Le(const unsigned char* b, int bytes) {
    unsigned v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | b[i];
    return v;
}

// A wave format a sound card plays: a known coding, 1 to 8 channels, a rate of 1 to 384 kHz and a
// frame size that fits the coding. The mixer would try to resample anything, one sample a second too.
bool Format_playable(const unsigned char* fmt) {
    unsigned tag = Le(fmt, 2), channels = Le(fmt + 2, 2), rate = Le(fmt + 4, 4), align = Le(fmt + 12, 2);
    unsigned bits = Le(fmt + 14, 2);
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || align == 0) return false;
    switch (tag) {
    case 1:      // PCM
    case 0xFFFE: // extensible
        return (bits == 8 || bits == 16 || bits == 24 || bits == 32) && align == channels * bits / 8;
    case 3: // float
        return (bits == 32 || bits == 64) && align == channels * bits / 8;
    case 6: // A-law
    case 7: // mu-law
        return bits == 8 && align == channels;
    case 2:    // Microsoft ADPCM
    case 0x11: // IMA ADPCM
        return bits == 4;
    default:
        return false;
    }
}

// A RIFF WAVE file of the game folder whose "fmt " chunk describes a playable format.
bool Wave_playable(const char* sound) {
    FILE* f = Game_fopen(sound);
    if (!f) return false;
    unsigned char head[12], chunk[8], fmt[16];
    bool riff = std::fread(head, 1, 12, f) == 12 && !std::memcmp(head, "RIFF", 4) &&
                !std::memcmp(head + 8, "WAVE", 4);
    bool playable = false;
    for (int i = 0; riff && i < 64 && std::fread(chunk, 1, 8, f) == 8; i++) {
        unsigned size = Le(chunk + 4, 4);
        if (!std::memcmp(chunk, "fmt ", 4)) {
            playable = size >= 16 && std::fread(fmt, 1, 16, f) == 16 && Format_playable(fmt);
            break;
        }
        if (std::fseek(f, (long)size + (size & 1), SEEK_CUR) != 0) break;
    }
    std::fclose(f);
    return playable;
}

} // namespace

bool Wave_file_playable(const char* path) { return Wave_playable(path); }

namespace {

DWORD effect_volume = 0xFFFF, music_volume = 0xFFFF;

MMRESULT Set_volumes() {
    Sound_backend* b = Sound_service();
    if (!b) return MMSYSERR_NODRIVER;
    b->set_volumes(effect_volume, music_volume);
    return MMSYSERR_NOERROR;
}

} // namespace

MMRESULT waveOutSetVolume(const void*, DWORD volume) {
    effect_volume = volume & 0xFFFF;
    return Set_volumes();
}

MMRESULT midiOutSetVolume(const void*, DWORD volume) {
    music_volume = volume & 0xFFFF;
    return Set_volumes();
}

bool PlaySound(const char* sound, const void*, DWORD flags) {
    Sound_backend* b = Sound_service();
    if (!b) return false;
    if (Backend_hooks* hooks = Current_hooks()) hooks->sound_called(sound, flags);
    if (!sound) {
        b->stop_sound();
        return true;
    }
    // sounds come from files only: the desktop's named system sounds and resources are not ours
    if ((flags & SND_FILENAME) && Wave_playable(sound) &&
        b->play_sound(Game_file_path(sound), (flags & SND_LOOP) != 0))
        return true;
    b->stop_sound();
    if (flags & SND_NODEFAULT) return false;
    b->play_chime();
    return true;
}
