// The story's whole state as text, one JSON member a line, through Visit_fields: what the tests that
// compare whole states compare (gtest shows the fields that differ as a diff), and the golden runner's
// members of each field.
#pragma once

#include "core.h"
#include "replay/state_json.h"

#include <cstdio>
#include <cstring>
#include <string>

// "name":value for every story field of game: ticks as their age, texts up to their NUL, rectangles as
// their sides, byte buffers and pictures by a hash; the process's own handles left out.
class State_lines {
  public:
    static std::string Of_game() {
        State_lines lines;
        Visit_fields(lines);
        return lines.out;
    }

    template <class T> void operator()(const char*, T GameState::*, Field_host) {}
    template <class T, class Kind> void operator()(const char* name, T GameState::*m, Kind) {
        if constexpr (std::is_same_v<Kind, Field_tick>)
            Line(name, std::to_string(now - game.*m));
        else if constexpr (std::is_same_v<Kind, Field_text>)
            Line(name, Json_string(Cp932_to_utf8(game.*m, strnlen(game.*m, sizeof(T)))));
        else if constexpr (std::is_same_v<Kind, Field_bytes>)
            Line(name, Hash(game.*m, sizeof(T)));
        else if constexpr (std::is_same_v<Kind, Field_rect>) {
            int32_t sides[sizeof(T) / 4];
            std::memcpy(sides, &(game.*m), sizeof sides);
            std::string value;
            for (int32_t side : sides) value += (value.empty() ? "[" : ",") + std::to_string(side);
            Line(name, value + "]");
        } else
            Line(name, std::to_string(game.*m));
    }
    void operator()(const char* name, Surface* GameState::*m, const Surface_slot& slot) {
        Line(name, game.*m ? Hash((game.*m)->pixels, slot.width * slot.height * 4u) : "\"none\"");
    }

  private:
    void Line(const char* name, const std::string& value) { out += Json_string(name) + ":" + value + "\n"; }
    static std::string Hash(const void* bytes, size_t size) {
        uint64_t hash = 1469598103934665603ull;
        for (size_t i = 0; i < size; i++) hash = (hash ^ ((const unsigned char*)bytes)[i]) * 1099511628211ull;
        char text[20];
        std::snprintf(text, sizeof text, "\"%016llx\"", (unsigned long long)hash);
        return text;
    }

    DWORD now = GetTickCount();
    std::string out;
};
