// The story's whole state as text, one field a line, through Visit_fields: what the tests that
// compare whole states compare, so that gtest shows the fields that differ as a diff.
#pragma once

#include "core.h"

#include <cstdio>
#include <cstring>
#include <string>

// "name value" for every story field of game: ticks as their age, texts up to their NUL, byte
// buffers and pictures by a hash; the process's own handles left out.
class State_lines {
  public:
    static std::string Of_game() {
        State_lines lines;
        Visit_fields(lines);
        return lines.out;
    }

    template <class T> void operator()(const char*, T GameState::*, Field_host) {}
    void operator()(const char* name, int GameState::*m, Field_num) { Line(name, std::to_string(game.*m)); }
    void operator()(const char* name, DWORD GameState::*m, Field_word) {
        Line(name, std::to_string(game.*m));
    }
    void operator()(const char* name, DWORD GameState::*m, Field_tick) {
        Line(name, "age " + std::to_string(now - game.*m));
    }
    template <size_t N> void operator()(const char* name, char (GameState::*m)[N], Field_text) {
        Line(name, std::string(game.*m, strnlen(game.*m, N)));
    }
    template <size_t N> void operator()(const char* name, unsigned char (GameState::*m)[N], Field_bytes) {
        Line(name, Hash(game.*m, N));
    }
    template <class R> void operator()(const char* name, R GameState::*m, Field_rect) {
        int32_t sides[sizeof(R) / 4];
        std::memcpy(sides, &(game.*m), sizeof sides);
        std::string value;
        for (int32_t side : sides) value += std::to_string(side) + " ";
        Line(name, value);
    }
    void operator()(const char* name, Surface* GameState::*m, const Surface_slot&) {
        const Surface* s = game.*m;
        Line(name, s ? Hash(s->pixels, (size_t)s->width * s->height * 4) : "none");
    }

  private:
    void Line(const char* name, const std::string& value) { out += std::string(name) + " " + value + "\n"; }
    static std::string Hash(const void* bytes, size_t size) {
        uint64_t hash = 1469598103934665603ull;
        for (size_t i = 0; i < size; i++) hash = (hash ^ ((const unsigned char*)bytes)[i]) * 1099511628211ull;
        char text[20];
        std::snprintf(text, sizeof text, "%016llx", (unsigned long long)hash);
        return text;
    }

    DWORD now = GetTickCount();
    std::string out;
};
