// A save file's bytes: the story's whole state behind a header (magic, format version, sizes,
// checksum, game), made from the state and checked whole before it becomes the state again.
#pragma once

#include "reader.h"

#include <string>
#include <string_view>

// The story's whole state as entries (save_entries.h), its times relative to now: a save's body.
std::string Save_state(DWORD now);
// Its two parts: every field's entry, and the pixels of a live surface (empty when it has none).
std::string Save_fields(DWORD now);
std::string_view Save_picture(const Surface_slot& slot);
// Checks a state's entries whole and, when every check passes, makes them the story's state:
// nullptr. Otherwise the reason (CP932) and nothing changed. With follow, the state's place is first
// carried into its script as the game folder now holds it (Script_follow, *follow telling how), and a
// place that stays in the state's own copy is refused as well: the story goes on untouched.
const char* Restore_state(const std::string& state, DWORD now, Followed* follow = nullptr);
// The story's whole state as a save file's bytes, its times relative to now, behind its preview.
std::string Save_encode(const std::string& game_id, DWORD now);
// Checks a save file's bytes whole and, when every check passes, makes it the story's state, its place
// carried into its script as the game folder now holds it (Script_follow): nullptr, and *kept (when
// asked) whether the story goes on in the save's own copy of the script. Otherwise the reason (CP932)
// and nothing changed.
const char* Save_restore(const std::string& bytes, const std::string& game_id, DWORD now,
                         bool* kept = nullptr);
// The same checks and the same following, the story left alone: nullptr and where the save would go
// on, else the reason (CP932).
const char* Save_follow(const std::string& bytes, const std::string& game_id, Followed* followed);
// The game a save file's header names; empty when the bytes hold no header of ours.
std::string Save_game(const std::string& bytes);
// A reason the save functions give (CP932), in the author's words: "made by another game".
const char* Refusal_in_english(const char* why);
// The two halves of a save file: the state's entries (save_entries.h) packed behind the header, and
// unpacked again once the header and checksum hold, a first-format state as entries (else the reason).
std::string Save_pack(const std::string& state, const std::string& game_id);
const char* Save_unpack(const std::string& bytes, const std::string& game_id, std::string* state);
// The first limit bytes of a save's state, the file checked whole as Save_unpack checks it; empty for
// a first-format save, whose state holds no preview. nullptr, else the reason (CP932).
const char* Save_unpack_front(const std::string& bytes, const std::string& game_id, size_t limit,
                              std::string* front);
