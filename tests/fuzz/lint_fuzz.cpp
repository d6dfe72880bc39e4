// libFuzzer target: veltrane-lint over arbitrary script bytes. Whatever the script holds, the
// checks must end without a crash, a sanitizer report or a loop that never returns.
//
// An input is all script: it is the first script, and the same bytes stand under a second name
// so that file_change has a script to reach.
#include "lint.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path home_dir, game_dir;

void Remove_game_dir() {
    std::error_code ignored;
    fs::remove_all(game_dir, ignored);
}

void Write_file(const char* path, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::perror(path);
        std::abort();
    }
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

} // namespace

// One game folder per process, entered for each run and left again, since libFuzzer reads and
// writes the corpus by the paths it was given.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    home_dir = fs::current_path();
    game_dir = fs::temp_directory_path() / ("veltrane-lint-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(game_dir);
    for (const char* sub : {"txt", "gdat", "wav", "MIDI"}) fs::create_directories(game_dir / sub);
    std::atexit(Remove_game_dir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (::chdir(game_dir.c_str()) != 0) std::abort();
    Write_file("txt/config.tda", data, size);
    Write_file("txt/second.tda", data, size);
    Lint_result result = Lint_game();
    // every problem is one line of its own
    size_t lines = 0;
    for (char c : result.report) lines += c == '\n';
    if (lines != (size_t)(result.errors + result.warnings)) std::abort();
    if (::chdir(home_dir.c_str()) != 0) std::abort();
    return 0;
}
