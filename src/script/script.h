// The script interpreter: the one script buffer and its cursor, the scanning primitives, the text
// stepper, the command dispatcher, labels and jumps, and the flags.
#pragma once

#include "shell.h"

#include <span>

constexpr int SCRIPT_END_MARK = 0xFF; // a script ends at its 0xFF marker

// ---- loading (loader.cpp)
// Reads a script file into buf: its bytes up to the first 0xFF or the end of the file, then 0xFF
// and 0. A script too long for the buffer is cut and the author told. 1 when read, 0 when the
// file cannot be opened (buf untouched).
int Xalo_bload(const char* path, unsigned char* buf);
// Loads txt\config.tda at start-up and sets the text defaults.
void Script_init();
// The story is over (its end, or a search that ran off the buffer): the script halts as #halt does.
void Script_end();

// ---- scanning primitives (lexer.cpp); every one works on cur and stops at the end of script_buf
// A decimal number; cur is left on the byte that ended it (below '!' or a comma). A byte that is
// no digit is reported, a close request posted, and the byte counted as 0.
int Read_num();
// A word into word_buf; cur is left on the tab, LF, CR, blank or comma that ended it, or after its 254th byte.
const char* Read_word();
// The rest of the line into line_buf; cur is left on the CR of the ending CR LF, or after its 254th byte.
const char* Read_line();
// Past the '/' that ends the current branch (cur on the byte after it).
int Skip_branch();
// Past the '}' that closes the current block (cur two bytes after it).
int Skip_block();
// A search for a brace or a branch end that ran off the buffer: reported, and the script ends.
void Search_end();
// A '{', '}' or '/' at pos counts for the skips only after a byte below 0x80 (or at the buffer's start).
bool Guarded(int pos);
// The two argument gaps: comma, blank, LF; and blank, comma.
void Skip_list_gap();
void Skip_name_gap();

// ---- the text stepper (stepper.cpp)
// Moves cur on by n, never past the last byte of the buffer; handlers step over the byte that
// ended their command name with it.
void Cur_forward(int n);
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
