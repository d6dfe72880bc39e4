// What the page's script (library.js) gives the browser backend. The calls marked "waits" return
// to the page while they wait (the build unwinds and rewinds the stack around them), so that the
// page stays responsive; the engine sees an ordinary call.
#pragma once

#include <cstdint>

extern "C" {
// ms of the page's monotonic clock, not counting the time the page was hidden
double Web_now();
// waits: ms (0xFFFFFFFF: no limit), ended early by an event when wake_on_event
void Web_wait(unsigned ms, int wake_on_event);
// an event came: a wait under way that an event may end, ends
void Web_wake();
// the canvas opens at its size (the page keeps the story's title for its own)
void Web_window_open();
void Web_window_close();
// RGBA pixels of one rectangle of the canvas, whose size is cw x ch
void Web_show(const uint8_t* rgba, int x, int y, int w, int h, int cw, int ch);
void Web_set_fullscreen(int on);
int Web_is_fullscreen();
// the text (UTF-8) handed to the browser's clipboard: 0 where the page has none to hand it to
int Web_set_clipboard(const char* text);
// the modal box in the page, texts in UTF-8
void Web_box_show(const char* text, const char* caption);
int Web_box_answered();
void Web_box_hide();
// waits: whether another page holds the lock key; the lock taken for as long as the page lives
int Web_lock_held(const char* key);
int Web_lock_take(const char* key);
// waits: the game file at path fetched onto the file system, or taken away when it cannot be had
void Web_fetch(const char* path);
// waits: the file system's writes carried to the page storage; 0 when that failed
int Web_sync();
}

// Sound through the page's Web Audio. The page lets sound start once the reader first clicks or
// presses a key; music asked for before that starts then.
extern "C" {
// waits: the effect at path decoded and started, once or looping; 0 when it cannot play
int Web_sound_play(const char* path, int loop);
void Web_sound_stop();
void Web_chime();
// waits: the piece at path decoded for device: its length in seconds; -1 when it cannot be
// decoded, -2 for MIDI with no synthesizer to play it
double Web_music_open(int device, const char* path, int midi);
// plays device's piece once from its start; its natural end calls Web_music_ended(device)
void Web_music_play(int device);
void Web_music_stop(int device);
void Web_music_close(int device);
// loudness of the effects and of the music, 0 to 1
void Web_volumes(double effects, double music);
}
