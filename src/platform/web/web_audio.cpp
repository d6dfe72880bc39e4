// The browser backend's sound: effects and music through the page's Web Audio, MIDI through a
// General MIDI synthesizer in the page; the length checks the desktop makes, made here too.
#include "web_audio.h"
#include "web_imports.h"

#include "midi_length.h"

#include <emscripten/emscripten.h>

bool Web_audio::play_sound(const std::string& file, bool loop) {
    return Web_sound_play(file.c_str(), loop) != 0;
}

void Web_audio::play_chime() { Web_chime(); }

void Web_audio::stop_sound() { Web_sound_stop(); }

MCIERROR Web_audio::open_music(int device, const std::string& file, bool midi) {
    if (midi) {
        // a MIDI file is checked whole here, as on the desktop, before the page's synthesizer sees it
        FILE* f = std::fopen(file.c_str(), "rb");
        if (!f) return MCIERR_FILE_NOT_FOUND;
        std::vector<unsigned char> bytes;
        bool whole = Midi_read(f, &bytes);
        std::fclose(f);
        double seconds = whole ? Midi_seconds(bytes.data(), bytes.size()) : -1;
        if (seconds < MUSIC_MIN_SECONDS) return MCIERR_INVALID_FILE;
    }
    double seconds = Web_music_open(device, file.c_str(), midi);
    if (seconds == -2) return MCIERR_SEQ_NOMIDIPRESENT;
    if (seconds < MUSIC_MIN_SECONDS) return MCIERR_INVALID_FILE;
    opened[device - 1] = true;
    return 0;
}

void Web_audio::play_music(int device) {
    if (!opened[device - 1]) return;
    // one piece at a time
    if (current && current != device) stop_music(current);
    current = device;
    Web_music_play(device);
}

void Web_audio::stop_music(int device) {
    if (current != device) return;
    current = 0;
    Web_music_stop(device);
}

void Web_audio::close_music(int device) {
    stop_music(device);
    opened[device - 1] = false;
    Web_music_close(device);
}

void Web_audio::set_volumes(DWORD effects, DWORD music) { Web_volumes(effects / 65535.0, music / 65535.0); }

extern "C" EMSCRIPTEN_KEEPALIVE void Web_music_ended(int device) {
    if (device >= 1 && device <= MUSIC_DEVICES) Music_ended(device);
}
