// The save slots and the reader's folders: where saves and settings live, and files read and
// written whole (a temporary file, flushed, renamed over the old one).
#pragma once

#include "reader.h"

#include <string>

// The slot's file, written whole or not at all: nullptr, else the reason (CP932). A save first
// removes what saves cut short left behind: the slots' temporary files.
const char* Save_to_slot(int slot);
const char* Restore_slot(int slot);
// The game folder's name for its saves and settings, from its absolute path.
std::string Game_id(const std::string& folder);
// A folder under the XDG base directory (XDG_DATA_HOME or XDG_CONFIG_HOME, else its default under
// HOME): "" when neither is set.
std::string Xdg_dir(const char* variable, const char* fallback);
// mkdir -p, for a path under the reader's home.
bool Make_dirs(const std::string& dir);
// A regular file of at most limit bytes, whole: false when it is missing (*missing), not a regular
// file, too large or unreadable.
bool Read_whole(const std::string& path, size_t limit, std::string* out, bool* missing);
