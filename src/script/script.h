// The script interpreter above the subsystems: the text stepper, the command dispatcher with its
// keyword table, labels and jumps, and the flags. The buffer and its scanning primitives are in core.h.
#pragma once

#include "core.h"

#include <span>

// ---- the text stepper (stepper.cpp)
int Tick_text();
int Scan_token();
// Moves cur on by one from a byte the step has reached. A step that resumes past its element (two
// bytes after a command word or a label's ':', three after a '/' skip) never passes over the end
// mark: on it the story is over, as at #halt. A jump still lands wherever its label is.
void Step_on();
void Text_advance(int n);
int Text_newline();

// ---- the dispatcher (dispatcher.cpp)
void Command_call();
// A '#' at pos next to another '#' starts a comment.
bool Comment_at(int pos);
// Where the comment at pos ends: its CR, the end mark, or the buffer's last byte.
int Comment_end(int pos);
// Just past the command word after the '#' at hash: the word runs to the first byte of 0x20 or
// below, 255 bytes at most.
int Word_end(int hash);
// What a command reads after its word, in order, as its handler reads it with the scanning
// primitives; veltrane-lint checks a script's arguments by the same shapes.
enum class Arg : unsigned char {
    END,       // the shape ends
    NONE,      // the command reads nothing, not even the byte after its word
    STEP,      // steps over the byte that ended the word
    LIST_GAP,  // comma, blank, LF
    NAME_GAP,  // blank, comma
    NUMBER,    // any decimal number
    FLAG,      // a flag's number
    PERCENT,   // an opacity in per cent
    PLAY_MODE, // 0 once, 1 looping
    FONT_SIZE, // a glyph height in pixels
    AREA,      // one of the four edges of the text area: left, top, right, bottom
    TEXT_WAIT, // milliseconds between characters
    COLOUR,    // one channel: red, green, blue of the text, then of the shadow
    SURFACE,   // a word: a name of NAMED_SURFACES
    EFFECT,    // a word: a transition's name
    PICTURE,   // a word: a file of gdat
    WAVE,      // a word: a file of wav
    MUSIC,     // a word: a file of MIDI
    SCRIPT,    // a word: a script of txt
    LABEL,     // a word: a label of the script (of the SCRIPT before it, if any)
    BRANCHES,  // a '{' further on, whose block has two branches split by '/'
    CHOICES,   // a '{' further on, then three choice lines and a block of three branches
};
constexpr int ARGS_MAX = 20;
struct Keyword {
    const char* name;
    int (*handler)();
    Arg args[ARGS_MAX];
};
// The command words, in the order Command_call compares them.
std::span<const Keyword> Keywords();
// The numbers a shape's handler takes: a flag, a text wait and a colour outside them are refused;
// any number for the other shapes.
struct Arg_range {
    int low, high;
};
Arg_range Arg_bounds(Arg arg);

// ---- labels and jumps (labels.cpp)
// A '*' at pos starts a label when only blanks and tabs stand between it and its line's start.
bool At_line_start(int pos);
// 1 with cur right after the label's text when found; 0 when not, with *stop where the search stopped.
int Find_label(const char* target, int* stop);
int Com_jump();
int Com_file_change();
// For an author trying a later scene, before start-up: names script (UTF-8, a path in the game
// folder such as "txt/chapter3.tda", or a name in txt/ as file_change takes it) as the first script,
// which start-up then loads instead of txt/config.tda. 1 when done; 0 with why (UTF-8) when the
// script is not there.
int Script_first(const char* script, char* why, size_t why_size);
// Then, once Game_init has run: leaves cur where the stepper resumes after a jump to label (empty:
// the script's start; the '*' may be left out, and the ':' when the label line ends in one), and
// turns on the flags. 1 when done; 0 with why (UTF-8) when one of them is not there, no box shown.
int Script_start_at(const char* label, std::span<const int> flags, char* why, size_t why_size);

// ---- flags (flags.cpp)
// 1 when n names one of the FLAG_COUNT flags.
bool Valid_flag(int n);
int Com_flag_on();
int Com_flag_off();
int Com_disp_flag();
int Com_if_flag();
