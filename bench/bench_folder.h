// Game_folder: a temporary game folder with the demo's fixed pictures and a given first script,
// the working directory while it lives, with a clean GameState before and after.
#pragma once

#include "app.h"
#include "headless.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

// A game folder in a temporary directory with the demo's fixed pictures and the given first
// script, the working directory while it lives; a clean GameState before and after.
class Game_folder {
  public:
    explicit Game_folder(const std::string& script) {
        fs::remove_all(dir);
        fs::create_directories(dir / "gdat");
        fs::create_directories(dir / "txt");
        for (const char* name : {"Parts.bgh", "back_black.bgh", "start.bgh"})
            fs::copy_file(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "gdat" / name, dir / "gdat" / name);
        FILE* f = std::fopen((dir / "txt" / "config.tda").c_str(), "wb");
        if (f) {
            std::fwrite(script.data(), 1, script.size(), f);
            std::fclose(f);
        }
        fs::current_path(dir);
        Reset_game();
    }
    ~Game_folder() {
        Reset_game();
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    Game_folder(const Game_folder&) = delete;
    Game_folder& operator=(const Game_folder&) = delete;

    static void Reset_game() {
        Surfaces_free();
        game = GameState{};
    }

    // Plays from the start until quit or ms of virtual time have passed; WinMain's exit code.
    static int Play(Headless& headless, DWORD ms) {
        static const Instance instance{nullptr, 0};
        headless.stop_at(ms);
        return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
    }

  private:
    fs::path previous = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("veltrane-bench-" + std::to_string(::getpid()));
};
