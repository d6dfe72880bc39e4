// Live editing (veltrane --watch): the game's txt/ folder watched while the story plays. When the author
// saves the script being played, it is checked as veltrane-lint checks it and the page being read runs
// again from its start in the new text; a script with errors is told and left unread.
#pragma once

#include "reader.h"

#include <string>

constexpr DWORD WATCH_SETTLE = 100; // ms with no new event before a save counts as over: one save, one reload

// ---- the reload (live_edit.cpp)
// Before any window opens: txt/ watched and veltrane-lint found. False, and why (UTF-8), when either
// cannot be: the program then ends, as for a script it cannot start at.
bool Live_edit_start(std::string* why);
// Between two turns of the loop: the folder's news read; once a save of the script being played is over,
// and no reader screen holds the story, the page runs again in it, told by a notice.
void Live_edit_turn();
// Milliseconds until a save is over; INFINITE when none is under way, or live editing is off.
DWORD Live_edit_due();
// Live editing off, whether or not it was on.
void Live_edit_end();

// ---- the folder's events (watch.cpp)
// Watches folder for files written, made, moved in or out, and removed. False, and why (UTF-8), when it
// cannot be watched.
bool Watch_start(const std::string& folder, std::string* why);
// From now on a small thread posts window WM_NULL when an event comes, so that its loop may sleep until
// its next due time. False, and why, when the thread cannot start.
bool Watch_wake(Window* window, std::string* why);
// Reads what came, without waiting: each file named has changed as of now. False once the folder
// itself went (moved away, removed, unmounted).
bool Watch_read();
// A file whose last change is WATCH_SETTLE ms old, taken from the changed; false when none is.
bool Watch_take(std::string* name);
// Milliseconds until a changed file settles; INFINITE when none has changed.
DWORD Watch_due();
// The watch and its thread ended, and the changes forgotten.
void Watch_end();

// ---- the check (script_check.cpp)
// A script checked by veltrane-lint in a process of its own, which gives the checks an engine of their
// own (the script buffer, a backend that records boxes): the story playing here cannot lend its own.
struct Script_check {
    bool done = false;  // the check ran to its end
    std::string report; // what it printed: "txt/b.tda:3: error: ..." a line
    int errors = 0;     // the report's errors
};
// veltrane-lint beside the running program, else on PATH; false when neither is there.
bool Find_checker(std::string* path);
// Checks the script of the game folder at shown ("txt/b.tda") with the checker found; the check that
// does not end within a few seconds is stopped and not done.
Script_check Check_script(const std::string& checker, const std::string& shown);
