// A game folder made by a test: a temporary directory with the demo's fixed pictures, made the
// working directory for the test's life, and a clean GameState on a fresh headless backend.
#pragma once

#include "headless.h"
#include "shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

class Game_folder_test : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        previous = fs::current_path();
        dir = fs::temp_directory_path() /
              ("veltrane-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "gdat");
        fs::create_directories(dir / "txt");
        for (const char* name : {"Parts.bgh", "back_black.bgh", "start.bgh"})
            fs::copy_file(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "gdat" / name, dir / "gdat" / name);
        fs::current_path(dir);
        Write_script("");
        Reset_game();
        headless = &Use_headless_backend(start_tick);
    }

    void TearDown() override {
        Reset_game();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }

    // Frees the surfaces of a finished run and starts from a new GameState.
    static void Reset_game() {
        for (Surface* s : {game.bs_surface, game.bg_surface, game.pt_surface, game.menu_surface,
                           game.select_normal, game.select_hilite, game.fade_surface})
            DeleteSurface(s);
        game = GameState{};
    }

    // Writes txt/config.tda (or another name); the bytes are the script's, CP932 and CR LF as given.
    static void Write_script(const std::string& bytes, const char* name = "config.tda") {
        FILE* f = std::fopen((std::string("txt/") + name).c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    // Plays the game folder until quit or until ms of virtual time; returns WinMain's exit code.
    int Play(DWORD ms) {
        headless->stop_at(ms);
        return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
    }

    DWORD start_tick = 0;
    Headless* headless = nullptr;
    std::filesystem::path dir, previous;
    Instance instance{nullptr, 0};
};
