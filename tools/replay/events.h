// Input for a replay: lines "<ms> <event> [args]" read into events, then turned into the window
// messages the desktop would send, with the mouse buttons held at each moment.
#pragma once

#include "platform.h"

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class Event_kind { move, ldown, lup, rdown, rup, wheel, key, keyup, close, notify };

struct Replay_event {
    DWORD ms = 0;
    Event_kind kind = Event_kind::move;
    int x = 0, y = 0;
    bool shift = false, ctrl = false, right = false; // what an ldown names besides the left button
    WPARAM key = 0;
    int notches = 0;  // a wheel's turn: up positive
    bool alt = false; // a key with Alt held: a system key
};

struct Replay_message {
    DWORD ms;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A decimal number of 0 to 2^32 - 1, nothing else around it.
std::optional<DWORD> Parse_u32(std::string_view text);

// One line: true with *event set, true with *event empty for a blank or comment-only line,
// false with the reason in *error.
bool Parse_event_line(std::string_view line, std::optional<Replay_event>* event, std::string* error);

// Every line of in; a bad line gives false and "name:LINE: reason" in *error.
bool Parse_event_lines(std::istream& in, const std::string& name, std::vector<Replay_event>* events,
                       std::string* error);

// The messages in time order (events of one time keep their order), each mouse message carrying
// the buttons held once it happens.
std::vector<Replay_message> To_messages(std::vector<Replay_event> events);
