// The headless backend, for tests and tools: a virtual clock that only Sleep advances, input
// injected at virtual times, message boxes recorded and answered OK at once, no picture unless asked.
#pragma once

#include "platform.h"

#include <functional>
#include <string>
#include <vector>

struct Headless_box {
    DWORD ms;            // virtual ms since the start of the run
    std::string caption; // UTF-8
    std::string text;    // UTF-8
};

// A PlaySound call: the sound as the engine named it (CP932; empty for the silencing call), its flags.
struct Headless_sound {
    int order; // place among all the audio calls of the run
    DWORD ms;
    std::string sound;
    DWORD flags;
};

// An mciSendString call: the command (CP932) as sent, its result and its reply.
struct Headless_mci {
    int order;
    DWORD ms;
    std::string command;
    MCIERROR result;
    std::string reply;
};

class Headless {
  public:
    // Delivers a message to the game window at the first turn of the loop at or after ms.
    void inject(DWORD ms, UINT message, WPARAM wParam, LPARAM lParam);
    // Ends the run (the loop gets WM_QUIT) once ms of virtual time have passed.
    void stop_at(DWORD ms);
    bool stopped_by_deadline() const { return deadline_hit; }
    DWORD elapsed() const;
    const std::vector<Headless_box>& boxes() const { return box_log; }
    // Tells the listener of each box as it is recorded, so a tool can report boxes as they happen.
    void on_box(std::function<void(const Headless_box&)> listener) { box_listener = std::move(listener); }
    // Runs action at the start of the first loop turn at or after ms, before that turn's input.
    void call_at(DWORD ms, std::function<void()> action);
    // Audio is not heard: the calls are recorded. Music files are decoded all the same, to answer
    // whether they can play, and a piece that plays tells its end once its own length of virtual
    // time has passed.
    const std::vector<Headless_sound>& sounds() const { return sound_log; }
    const std::vector<Headless_mci>& mci() const { return mci_log; }
    // Tells the listener of each file of the game folder the engine looks for (a script, a picture, a
    // sound): the path on disk, or the path as it would be when the file is not there.
    void on_file(std::function<void(const std::string& path, bool found)> listener) {
        file_listener = std::move(listener);
    }
    // The soundfont MIDI pieces are decoded with: the installed one unless another is given.
    void use_soundfont(const std::string& path) {
        soundfont = path;
        soundfont_given = true;
    }
    // Runs action at the start of every loop turn, before the timed calls and the input.
    void on_turn(std::function<void()> action) { turn_action = std::move(action); }
    // Presents that uploaded a changed frame, and all presents.
    int uploads() const { return upload_count; }
    // The nth surface (or font) made from now on, 1 the next, is refused, as a desktop short of
    // memory would refuse it; 0 refuses none.
    void fail_surface(int nth) { surfaces_to_fail = nth; }
    void fail_font(int nth) { fonts_to_fail = nth; }
    int presents() const { return present_count; }
    // The loudness last set of the effects and of the music, 0 to 0xFFFF.
    DWORD effects_volume() const { return effect_volume; }
    DWORD musics_volume() const { return music_volume; }
    // From now on keeps what the client area shows, as the desktop's window shows it: the frames
    // presented, scaled into the client size between bars, with the window's layers over them. Off
    // unless asked for: a run without it never copies the frame's pixels.
    void keep_client() { keeping_client = true; }
    // That picture at the client size; 0 x 0 until something is shown.
    const Surface& client() const { return shown; }
    // What was last put on the clipboard (UTF-8).
    const std::string& clipboard() const { return clipboard_text; }

  private:
    friend class Headless_backend;
    struct Event {
        DWORD ms;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    DWORD start = 0;
    DWORD now = 0;
    bool has_deadline = false;
    DWORD deadline = 0;
    bool deadline_hit = false;
    std::vector<Event> events; // ordered by time, then by injection
    size_t next_event = 0;
    std::vector<Headless_box> box_log;
    std::function<void(const Headless_box&)> box_listener;
    struct Timed_call {
        DWORD ms;
        std::function<void()> action;
    };
    std::vector<Timed_call> calls; // ordered by time, then by registration
    size_t next_call = 0;
    std::function<void()> turn_action;
    int upload_count = 0;
    int surfaces_to_fail = 0;
    int fonts_to_fail = 0;
    int present_count = 0;
    DWORD effect_volume = 0xFFFF, music_volume = 0xFFFF;
    bool keeping_client = false;
    std::vector<uint32_t> shown_pixels;
    Surface shown; // over shown_pixels: made by no CreateSurface, which a test may have refuse
    std::vector<Headless_sound> sound_log;
    std::vector<Headless_mci> mci_log;
    std::function<void(const std::string&, bool)> file_listener;
    int audio_calls = 0;
    std::string soundfont;
    bool soundfont_given = false;
    std::string clipboard_text;
};

// Makes a fresh headless backend current, its clock at start_tick; the result lives until the
// next backend is chosen.
Headless& Use_headless_backend(DWORD start_tick = 0);
