// Helpers for the interpreter's scenario tests: a script put straight into script_buf and stepped
// one unit at a time, the recorded message boxes, and BS compared with BG.
#pragma once

#include "game_folder.h"
#include "interact.h"
#include "script.h"
#include "text.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

class Script_test : public Game_folder_test {
  protected:
    // Starts the engine on the empty story (one pass, before its first step), then puts bytes at
    // the start of script_buf, followed by the end marker and its 0, with cur on the first byte.
    void Load(const std::string& bytes, int text_wait = 0) {
        if (!game.main_window) Play(1);
        std::memcpy(game.script_buf, bytes.data(), bytes.size());
        game.script_buf[bytes.size()] = SCRIPT_END_MARK;
        game.script_buf[bytes.size() + 1] = 0;
        game.cur = 0;
        game.text_wait = text_wait;
        game.text_run = 1;
    }

    // A fresh run: a new GameState on a new headless backend, the game folder as it is.
    void Restart() {
        Reset_game();
        headless = &Use_headless_backend(0);
    }

    // One text step, whatever text_wait says: the virtual clock is moved on by it first.
    static void Step(int n = 1) {
        for (int i = 0; i < n; i++) {
            Sleep((DWORD)std::max(game.text_wait, 0));
            Tick_text();
        }
    }

    // The position of needle in the script (where cur should be when the stepper stands on it).
    static int Pos(const std::string& script, const std::string& needle, size_t from = 0) {
        size_t at = script.find(needle, from);
        EXPECT_NE(at, std::string::npos) << needle;
        return (int)at;
    }

    // The boxes recorded so far as "caption|text", in UTF-8.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const Headless_box& b : headless->boxes())
            out.push_back(b.caption + "|" + b.text);
        return out;
    }

    // Close requests waiting in the queue, taken out of it.
    static int Drain_closes() {
        int closes = 0;
        Msg msg;
        while (PeekMessage(&msg, PM_REMOVE))
            if (msg.message == WM_CLOSE && msg.window == game.main_window)
                closes++;
            else if (msg.message == WM_QUIT)
                break;
        return closes;
    }

    // True when the quit message has been asked for (it is taken out of the queue).
    static bool Quit_pending() {
        Msg msg;
        while (PeekMessage(&msg, PM_REMOVE))
            if (msg.message == WM_QUIT) return true;
        return false;
    }

    // The text cursor.
    static std::pair<int, int> Text_at() { return {game.text_x, game.text_y}; }

    // Pixels of BS inside the rectangle that differ from BG.
    static int Ink(int x, int y, int w, int h) {
        int n = 0;
        for (int yy = std::max(y, 0); yy < std::min(y + h, SCREEN_H); yy++)
            for (int xx = std::max(x, 0); xx < std::min(x + w, SCREEN_W); xx++)
                n += game.bs_surface->pixels[yy * SCREEN_W + xx] !=
                     game.bg_surface->pixels[yy * SCREEN_W + xx];
        return n;
    }
};

// All pixels of a surface, to compare whole pictures.
inline std::vector<uint32_t> Frame(const Surface* s) {
    return std::vector<uint32_t>(s->pixels, s->pixels + (size_t)s->width * s->height);
}

// The same text in CP932, so that scripts can hold Japanese.
inline std::string Cp(const char* utf8) {
    return Utf8_to_cp932(utf8);
}
