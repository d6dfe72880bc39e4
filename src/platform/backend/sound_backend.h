// What a backend gives for sound: the one sound effect and the pieces of the music devices.
#pragma once

#include "desktop_sound.h"

#include <string>

constexpr int MUSIC_DEVICES = 8;

class Sound_backend {
  public:
    virtual ~Sound_backend() = default;

    // Sound effects, one at a time: plays the file (as found on disk) once or looping, in place of
    // the effect that sounds; false when it cannot be played. The chime is the platform's default sound.
    virtual bool play_sound(const std::string& file, bool loop) = 0;
    virtual void play_chime() = 0;
    virtual void stop_sound() = 0;

    // Music: device is a number from 1 to MUSIC_DEVICES. open_music decodes the file: 0, or an MCIERR_
    // code (MCIERR_SEQ_NOMIDIPRESENT: a MIDI file with no synthesizer to play it, the device stays
    // open but mute). play_music plays the piece once from its start and tells its natural end with
    // Music_ended; stop_music and close_music tell nothing.
    virtual MCIERROR open_music(int device, const std::string& file, bool midi) = 0;
    virtual void play_music(int device) = 0;
    virtual void stop_music(int device) = 0;
    virtual void close_music(int device) = 0;
    // Loudness from 0 (silent) to 0xFFFF (full): of the effects, and of the music of either kind.
    virtual void set_volumes(DWORD effects, DWORD music) = 0;
};

// A backend tells that the piece of device has played to its end; safe from any thread (the audio
// thread's callback calls it). The window that asked for a notice gets MM_MCINOTIFY.
void Music_ended(int device);
