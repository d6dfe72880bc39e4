// The program in the browser: the page's backend and the game folder the page laid out at /game,
// then the story as the desktop plays it. The page asks for the state line when a test wants it.
#include "read_marks.h"
#include "reader.h"
#include "web.h"

#include "replay/state_json.h"
#include "veltrane_icon.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <unistd.h>

// The engine's state as veltrane-replay --state prints it, for the page's tests.
extern "C" EMSCRIPTEN_KEEPALIVE const char* Web_state() {
    static std::string line;
    line = State_json(game, GetTickCount());
    return line.c_str();
}

// The page passes the story's name as published (--id), and may pass the options an author starts a
// later scene with.
int main(int argc, char** argv) {
    Play_options options;
    for (int i = 1; i < argc; i++) {
        std::string error;
        if (Read_play_option(argc, argv, &i, &options, &error) <= 0) {
            std::fprintf(stderr, "veltrane: %s\n", error.empty() ? argv[i] : error.c_str());
            return 2;
        }
    }
    if (chdir("/game") != 0) {
        std::fprintf(stderr, "veltrane: the page laid out no game folder\n");
        return 2;
    }
    reader.read_marks_dir = Read_marks_home();
    Use_web_backend();
    static const Instance instance{veltrane_icon_bmp, sizeof veltrane_icon_bmp};
    // main returns to the page long before the story ends (every wait hands the page its thread):
    // the end is told to the page as the program's exit
    emscripten_force_exit(Main_play(&instance, options, "veltrane"));
}
