// Skip mode: Tab (or the reader's menu) turns it on and off. While it is on, the pages already read
// (read_marks.h) pass as they do while Ctrl is held, and it ends at the first page not read (at any
// page with settings.skip_all), at a choice, the start menu and the story's end, with a notice. A
// plate at the window's top-right corner tells that it is on.
#pragma once

#include "reader.h"

void Skip_mode_toggle();
// Skip mode off, with a notice of why (CP932), or none for nullptr.
void Skip_mode_end(const char* why);
// Before skip's work: skip mode ends where it must, at a pause it does not pass or, while Ctrl is
// not held, at a page not read.
void Skip_mode_watch();
// Ctrl or a gamepad's trigger is held: everything passes, read or not.
bool Skip_held();
// Text and waits pass now: Ctrl or a trigger is held, or skip mode is on.
bool Skipping();
