// Game_folder_test: a temporary game folder with the demo's fixed pictures and sounds as the working
// directory, and a clean GameState on a fresh headless backend. Script_test: a script stepped unit by unit.
#pragma once

#include "game_folder_core.h"
#include "interact.h"
#include "reader.h"
#include "replay/events.h"
#include "script.h"
#include "text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using Lines = std::vector<std::string>;

class Game_folder_test : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = Make_game_folder("veltrane-" + test, {"txt", "gdat"});
        Copy_fixed_pictures(dir);
        for (const char* sounds : {"wav", "MIDI"})
            fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / sounds, dir / sounds);
        fs::current_path(dir);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1); // the reader's saves and settings kept here
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        Write_script("");
        Restart();
    }

    void TearDown() override {
        Restart();
        fs::current_path(previous);
        fs::remove_all(dir);
    }

    // A fresh run: a clean GameState and Reader on a new headless backend.
    void Restart(DWORD start_tick = 0) {
        Reset_game();
        reader = Reader{};
        headless = &Use_headless_backend(start_tick);
    }

    int Play(DWORD ms) { return Play_until(*headless, ms); }

    // Event lines as veltrane-replay reads them, injected; each call starts with nothing held.
    void Events(const std::string& lines) {
        std::istringstream in(lines);
        std::vector<Replay_event> events;
        std::string error;
        EXPECT_TRUE(Parse_event_lines(in, "events", &events, &error)) << error;
        for (const Replay_message& m : To_messages(events))
            headless->inject(m.ms, m.message, m.wParam, m.lParam);
    }

    // The boxes recorded so far as "caption|text", in UTF-8.
    Lines Boxes() const {
        Lines out;
        for (const Headless_box& b : headless->boxes()) out.push_back(b.caption + "|" + b.text);
        return out;
    }

    static uint32_t At(const Surface* s, int x, int y) { return s->pixels[y * s->width + x]; }
    // All pixels of a surface, row by row (none without one).
    static std::vector<uint32_t> Frame(const Surface* s) {
        return s ? std::vector(s->pixels, s->pixels + s->width * s->height) : std::vector<uint32_t>{};
    }
    // The same text in CP932, so that scripts can hold Japanese.
    static std::string Cp(const char* utf8) { return Utf8_to_cp932(utf8); }

    Headless* headless = nullptr;
    fs::path dir, previous = fs::current_path();
    Instance instance{nullptr, 0};
};

class Script_test : public Game_folder_test {
  protected:
    // After one pass on the empty story: bytes and the end marker in a zeroed script_buf, cur on the
    // first, no text wait nor page-wait, BS cleared to BG and the text cursor at the area's top-left.
    void Load(const std::string& bytes) {
        if (!game.main_window) Play(1);
        std::memset(game.script_buf, 0, sizeof game.script_buf);
        std::memcpy(game.script_buf, bytes.data(), bytes.size());
        game.script_buf[bytes.size()] = SCRIPT_END_MARK;
        game.cur = game.text_wait = game.page_run = 0;
        game.text_run = 1;
        BitBlt(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, game.bg_surface, 0, 0, SRCCOPY);
        game.text_x = game.area_left;
        game.text_y = game.area_top;
    }

    // One text step, whatever text_wait says: the virtual clock is moved on by it first.
    static void Step(int n = 1) {
        for (int i = 0; i < n; i++) {
            Sleep((DWORD)std::max(game.text_wait, 0));
            Tick_text();
        }
    }

    // The position of needle in text (where cur should be when the stepper stands on it).
    static int Pos(const std::string& text, const std::string& needle) {
        size_t at = text.find(needle);
        EXPECT_NE(at, std::string::npos) << needle;
        return (int)at;
    }

    // The text cursor and whether a page-wait runs, after steps more text steps.
    static std::tuple<int, int, int> Cursor(int steps) {
        Step(steps);
        return std::tuple(game.text_x, game.text_y, game.page_run);
    }
};
