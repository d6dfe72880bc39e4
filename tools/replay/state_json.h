// The engine's state at the end of a replay, as one line of JSON for checks to read.
#pragma once

#include "game_state.h"

#include <string>
#include <string_view>

// A JSON string literal, quotes included, of UTF-8 text.
std::string Json_string(std::string_view utf8);

// The modes, the text settings and cursor, the set flags and the audio of state, and ms.
std::string State_json(const GameState& state, DWORD ms);
