// The reader's keys, skip and auto mode: taken in front of the engine's window procedure, so that
// the engine never sees them; skip runs before each scheduler pass while Ctrl is held or skip mode
// is on (Tab toggles it, skip_mode.h), auto mode while it is on (A toggles it).
#pragma once

#include "reader.h"

constexpr DWORD SKIP_WAIT = 60;          // ms a click-wait or page-wait lasts while skipping
constexpr int SKIP_STEPS = 4096;         // text steps at most in one pass while skipping: input still comes
constexpr DWORD AUTO_PER_CHARACTER = 60; // ms auto mode adds to its wait for each character of the page

// The game window's procedure: the reader's keys are taken here, every other message goes to WndProc.
// A save or restore key only records its request (refused at once under a message box).
LRESULT Reader_proc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// F11 and Alt+Enter: fullscreen on and off, remembered.
void Toggle_fullscreen();
// A: auto mode on and off, told by a notice.
void Toggle_auto();
// Asks for a save into the slot or a restore from it, carried out between two turns of the loop;
// refused at once, with a notice, under a message box.
void Reader_request(int slot, bool save);
// Between two turns of the loop: the save or restore asked for, with its notice.
void Reader_requests();
// Before each scheduler pass: skip's work while Ctrl is held, and the end of a notice.
void Reader_tick();
// The end of a notice once it has been shown its time; held story or not.
void Notice_tick();
// How long auto mode lets the click-wait or page-wait now shown last: its base and
// AUTO_PER_CHARACTER for each character of the page.
DWORD Auto_delay();
// Milliseconds until interval has passed since start; 0 once it has.
DWORD Until(DWORD start, DWORD interval);
// Milliseconds until Reader_tick (or, while a screen holds the story, Notice_tick) has work;
// INFINITE when it has none.
DWORD Reader_due();
