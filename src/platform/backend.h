// The small interface each backend implements: the parts of the platform that touch the outside
// world (clock, events, window, presentation, dialogs). Everything else is shared code.
#pragma once

#include "platform.h"

#include <memory>

// Where a backend delivers what happens outside: input and window events become messages for
// the game window, in the order they happened.
using Event_sink = void (*)(UINT message, WPARAM wParam, LPARAM lParam);

class Backend {
  public:
    virtual ~Backend() = default;

    // time
    virtual DWORD ticks() = 0;
    virtual void sleep(DWORD ms) = 0;

    // Moves the events that have happened by now into the sink. Called by PeekMessage.
    virtual void pump(Event_sink sink) = 0;

    // single instance: another holder of the same class and caption
    virtual bool instance_running(const std::string& key) = 0;
    virtual bool claim_instance(const std::string& key) = 0;

    // the window (one at a time)
    virtual bool open_window(const char* class_name, const char* caption, int width, int height,
                             const Icon& icon) = 0;
    virtual void close_window() = 0;
    virtual Rect desktop_rect() = 0;
    virtual Rect window_rect() = 0;
    virtual void move_window(int x, int y) = 0;
    virtual void show_window() = 0;
    // Shows a frame in the window. frame_changed says the pixels differ from the last call;
    // otherwise only a window that was exposed since needs them drawn again.
    virtual void present(const Surface& frame, bool frame_changed) = 0;
    // Whether present needs the frame's pixels; a backend without a screen skips the copy.
    virtual bool shows_frames() { return true; }

    // A modal box: text and caption in UTF-8. dispatch_pending runs the game window's messages
    // while the box is open and answers false once the loop must end (a quit request).
    virtual int message_box(const std::string& text, const std::string& caption,
                            bool (*dispatch_pending)()) = 0;

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

    // Each PlaySound and mciSendString as the engine called it, for a backend that records them.
    virtual void sound_called(const char* /*sound*/, DWORD /*flags*/) {}
    virtual void mci_called(const char* /*command*/, MCIERROR /*result*/, const char* /*reply*/) {}
};

constexpr int MUSIC_DEVICES = 8;
// A backend tells that the piece of device has played to its end; safe from any thread (the audio
// thread's callback calls it). The window that asked for a notice gets MM_MCINOTIFY.
void Music_ended(int device);

// The backend in use; null before one is chosen.
Backend* Current_backend();
// Makes a backend current and forgets every message, window and class of the previous one.
void Set_backend(std::unique_ptr<Backend> backend);
