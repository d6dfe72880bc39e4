// Read marks: which pages the reader has read, per game and across runs, so that skip mode passes
// only those. A page is named by its content, not its place, so that an edited script keeps the
// marks of its unchanged pages: a page's key is a 64-bit hash of its script's name and of the
// script's bytes from the page's start up to its first pause command, known as the page begins.
#pragma once

#include "reader.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int PAGE_KEY_BYTES = 4096;            // script bytes at most a page's key covers
constexpr size_t READ_MARKS_MOST = 1u << 20;    // keys at most in a file: a larger one is not ours
constexpr DWORD READ_MARKS_WRITE_EVERY = 30000; // ms at least between two writes before the end

// The key of the page that begins at the script cursor: FNV-1a over the script's file name (lower
// case, without its folder) and its bytes from cur up to and including the first command that
// pauses (#wait, #w, #select3, #start_menu, #halt) or leaves (#jump, #file_change, with their line),
// the end mark or PAGE_KEY_BYTES. The value at page start of each #if_flag's flag is hashed too, so
// that the two branches read as two pages. Never 0, which stands for a page with no text of its own.
uint64_t Page_key();

// The real program's folder for read marks: $XDG_DATA_HOME/veltrane/read (by default under
// ~/.local/share); "" when neither XDG_DATA_HOME nor HOME is set.
std::string Read_marks_home();
// The game's read-marks file in the folder read_marks_dir names: "" without one.
std::string Read_marks_path(const std::string& game_id);
// The marks of reader.game_id from reader.read_marks_dir/GAME_ID, or none when the folder is unset
// or the file is missing, malformed, too large or another game's (it is then left as it is).
void Read_marks_start();
// True when the page of this key was read (key 0 always).
bool Read_marks_has(uint64_t key);
// The page of this key was typed to its end: marked, and the file written when the last write is
// READ_MARKS_WRITE_EVERY old.
void Read_marks_add(uint64_t key);
// The marks not yet written, written (at the loop's end).
void Read_marks_end();

// The file's bytes for these marks (sorted, no duplicates) of the game named game_id, and back:
// false when bytes are not a whole marks file of that game.
std::string Read_marks_encode(const std::string& game_id, const std::vector<uint64_t>& keys);
bool Read_marks_decode(const std::string& bytes, const std::string& game_id, std::vector<uint64_t>* keys);
