// libFuzzer target: veltrane-lint over arbitrary script bytes. Whatever the script holds, the
// checks must end without a crash, a sanitizer report or a loop that never returns.
#include "fuzz_folder.h"
#include "lint.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Make_game_dir("veltrane-lint-fuzz", {"txt", "gdat", "wav", "MIDI"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Write_scripts(data, size);
    Lint_result result = Lint_game();
    // every problem is one line of its own
    size_t lines = 0;
    for (char c : result.report) lines += c == '\n';
    if (lines != (size_t)(result.errors + result.warnings)) std::abort();
    if (::chdir(home_dir.c_str()) != 0) std::abort();
    return 0;
}
