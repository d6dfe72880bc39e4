// The script interpreter above the subsystems: the text stepper, the command dispatcher with its
// keyword table, labels and jumps, and the flags. The buffer and its scanning primitives are in core.h.
#pragma once

#include "core.h"

#include <span>

// ---- the text stepper (stepper.cpp)
int Tick_text();
int Scan_token();
void Text_advance(int n);
int Text_newline();

// ---- the dispatcher (dispatcher.cpp)
void Command_call();
struct Keyword {
    const char* name;
    int (*handler)(); // null for a known word that does nothing yet
};
// The command words, in the order Command_call compares them.
std::span<const Keyword> Keywords();

// ---- labels and jumps (labels.cpp)
// A '*' at pos starts a label when only blanks and tabs stand between it and its line's start.
bool At_line_start(int pos);
// 1 with cur right after the label's text when found; 0 when not, with *stop where the search stopped.
int Find_label(const char* target, int* stop);
int Com_jump();
int Com_file_change();

// ---- flags (flags.cpp)
int Com_flag_on();
int Com_flag_off();
int Com_disp_flag();
int Com_if_flag();
