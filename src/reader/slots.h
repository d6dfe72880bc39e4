// The save slots and the reader's folders: where saves and settings live, and files read and
// written whole (a temporary file, flushed, renamed over the old one).
#pragma once

#include "reader.h"
#include "save_preview.h"

#include <string>

// 0 the quick slot (F5, F9), 1 to 9 also with Shift or Ctrl and a digit; all on the save screen.
constexpr int SAVE_SLOTS = 40;
constexpr size_t SAVE_MAX = 64u << 20; // bytes of a save file; no save of ours comes near it

// A slot as the save screen lists it.
struct Slot_view {
    bool used = false;            // a file is there
    const char* broken = nullptr; // why it cannot be loaded (CP932), when it cannot
    Save_preview preview;         // its time is the file's when the save does not tell its own
};

// The slot's file, written whole or not at all: nullptr, else the reason (CP932). A save first
// removes what saves cut short left behind: the slots' temporary files.
const char* Save_to_slot(int slot);
// The slot's file restored as Save_restore restores it, *kept (when asked) telling whether the story
// goes on in the save's own copy of its script.
const char* Restore_slot(int slot, bool* kept = nullptr);
// The slot's file, checked whole, and its preview; never its restore.
Slot_view Read_slot(int slot);
// The slot whose file was written last; -1 when there is none.
int Newest_slot();
// Removes the slot's file: false when it was there and stays.
bool Delete_slot(int slot);
// The slot as the reader is told of it (CP932): "クイックスロット", "スロット3".
std::string Slot_label(int slot);
// The folder of the game's saves: "" when the reader has no home to keep them in.
std::string Save_dir(const std::string& game_id);
// A game's name for its saves, settings and read marks, wherever it lies: its folder's name, or the
// title it was published under, with what a file name cannot hold made '_'.
std::string Game_id(const std::string& name);
// The name of the game in folder (an absolute path), when none is given: the folder's own name.
std::string Folder_game_id(const std::string& folder);
// The name earlier versions gave a game: its folder's name and a hash of the folder's absolute path.
std::string Path_game_id(const std::string& folder);
// Whether id is such a path-keyed name of the game named game_id.
bool Is_path_game_id(const std::string& id, const std::string& game_id);
// A file or folder kept under the path-keyed name moves to the game's name, unless one is there.
void Adopt_path_keyed(const std::string& from, const std::string& to);
// A folder under the XDG base directory (XDG_DATA_HOME or XDG_CONFIG_HOME, else its default under
// HOME): "" when neither is set.
std::string Xdg_dir(const char* variable, const char* fallback);
// mkdir -p, for a path under the reader's home.
bool Make_dirs(const std::string& dir);
// A regular file of at most limit bytes, whole: false when it is missing (*missing), not a regular
// file, too large or unreadable.
bool Read_whole(const std::string& path, size_t limit, std::string* out, bool* missing);
