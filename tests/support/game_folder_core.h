// The game folder the engine tests, the fuzzers and the benchmarks play in: made in the temporary
// directory with the demo's fixed pictures, its scripts written, played headless to a virtual
// deadline, and the GameState cleaned after. No GoogleTest here: the fuzzers and benchmarks use it.
#pragma once

#include "app.h"
#include "headless.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fs = std::filesystem;

// NAME-PID in the temporary directory, made afresh with the given subfolders.
inline fs::path Make_game_folder(const std::string& name, std::initializer_list<const char*> subfolders) {
    fs::path dir = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    for (const char* sub : subfolders) fs::create_directories(dir / sub);
    return dir;
}

// The demo's copies of the pictures the engine loads by name, into the gdat/ of dir.
inline void Copy_fixed_pictures(const fs::path& dir) {
    const fs::path demo = fs::path(VELTRANE_SOURCE_DIR) / "demo";
    for (const Fixed_picture& p : FIXED_PICTURES)
        fs::copy_file(demo / Folder_path(p.path), dir / Folder_path(p.path));
}

// A file that cannot be written ends the process: nothing after it would mean anything.
inline void Write_file(const fs::path& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::abort();
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// txt/NAME of the working directory; the bytes are the script's, CP932 and CR LF as given.
inline void Write_script(std::string_view bytes, const std::string& name = "config.tda") {
    Write_file("txt/" + name, bytes);
}

// The last run's surfaces freed, and a clean GameState.
inline void Reset_game() {
    Surfaces_free();
    game = GameState{};
}

// Plays the working directory's game from the start until quit or until ms of virtual time;
// WinMain's exit code.
inline int Play_until(Headless& headless, DWORD ms) {
    static const Instance instance{nullptr, 0};
    headless.stop_at(ms);
    return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
}
