// The fuzzers' game folder: one per process in the temporary directory, removed at exit. Each run
// goes into it and comes back out, since libFuzzer reads and writes the corpus by the paths it
// was given.
#pragma once

#include "game_folder_core.h"

#include <cstdint>

inline fs::path home_dir, game_dir;

// Makes the folder NAME-PID with the given subfolders, and remembers where the fuzzer started.
inline void Make_game_dir(const std::string& name, std::initializer_list<const char*> subfolders) {
    home_dir = fs::current_path();
    game_dir = Make_game_folder(name, subfolders);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(game_dir, ignored);
    });
}

// Plays the game folder until the backend stops the run at ms, and leaves a clean GameState for
// the next, back where the fuzzer started.
inline void Play_game(Headless& headless, DWORD ms) {
    Play_until(headless, ms);
    Reset_game();
    if (::chdir(home_dir.c_str()) != 0) std::abort();
}

// Goes into the game folder and writes the same script bytes as the first script and under a
// second name, so that file_change has a script to reach.
inline void Write_scripts(const uint8_t* data, size_t size) {
    if (::chdir(game_dir.c_str()) != 0) std::abort();
    std::string_view bytes((const char*)data, size);
    Write_script(bytes);
    Write_script(bytes, "second.tda");
}
