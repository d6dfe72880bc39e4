// The fuzzers' game folder: one per process in the temporary directory, removed at exit. Each run
// goes into it and comes back out, since libFuzzer reads and writes the corpus by the paths it
// was given.
#pragma once

#include "app.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

inline fs::path home_dir, game_dir;

inline void Remove_game_dir() {
    std::error_code ignored;
    fs::remove_all(game_dir, ignored);
}

// Makes the folder NAME-PID with the given subfolders, and remembers where the fuzzer started.
inline void Make_game_dir(const std::string& name, std::initializer_list<const char*> subfolders) {
    home_dir = fs::current_path();
    game_dir = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    fs::remove_all(game_dir);
    for (const char* sub : subfolders) fs::create_directories(game_dir / sub);
    std::atexit(Remove_game_dir);
}

inline void Write_file(const char* path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::perror(path);
        std::abort();
    }
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

// Plays the game folder until the backend stops the run, then frees its surfaces and leaves a clean
// GameState for the next.
inline void Play_game() {
    Instance instance{nullptr, 0};
    WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
    Surfaces_free();
    game = GameState{};
}

// The same script bytes as the first script and under a second name, so that file_change has a
// script to reach.
inline void Write_scripts(const uint8_t* data, size_t size) {
    Write_file("txt/config.tda", data, size);
    Write_file("txt/second.tda", data, size);
}
