// The real program: the SDL backend, the program's own icon, and WinMain, in the game folder named
// on the command line or else in the working directory.
#include "read_marks.h"
#include "reader.h"
#include "sdl.h"

#include "veltrane_icon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void Usage(FILE* to) {
    std::fprintf(
        to,
        "usage: veltrane [options] [GAME_DIR]\n"
        "plays the game folder GAME_DIR (txt/config.tda and the rest), or the working directory\n"
        "  --scale N            open the window N times the picture's size (1 to 8)\n"
        "  --fullscreen         open covering the screen (F11 or Alt+Enter toggles it)\n"
        "  --watch              live editing: when the script being played is saved (txt/*.tda), it is\n"
        "                       checked as veltrane-lint checks it and the page runs again in it\n"
        "%s",
        Play_options_usage().c_str());
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "veltrane: %s (see veltrane --help)\n", why.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Play_options options;
    const char* game_dir = nullptr;
    int scale = 0;
    bool fullscreen = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i], error;
        int taken = Read_play_option(argc, argv, &i, &options, &error);
        if (taken < 0) return Refuse(error);
        if (taken) continue;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        }
        if (arg == "--fullscreen" || arg == "--watch") {
            (arg == "--watch" ? options.watch : fullscreen) = true;
            continue;
        }
        if (arg == "--scale") {
            const char* n = i + 1 < argc ? argv[++i] : "";
            scale = n[0] >= '1' && n[0] <= '8' && !n[1] ? n[0] - '0' : 0;
            if (!scale) return Refuse("--scale: '" + std::string(n) + "' is not a whole number from 1 to 8");
            continue;
        }
        if (arg[0] == '-') return Refuse("unknown option " + arg);
        if (game_dir) return Refuse("more than one GAME_DIR: " + arg);
        game_dir = argv[i];
    }
    if (game_dir && chdir(game_dir) != 0) {
        std::fprintf(stderr, "veltrane: cannot enter %s: %s\n", game_dir, std::strerror(errno));
        return 2;
    }
    if (FILE* first = Game_fopen(".\\txt\\config.tda")) {
        std::fclose(first);
    } else if (options.script.empty()) {
        // the story still starts, with its boxes: the terminal says why they come
        char here[4096] = "this folder";
        if (!getcwd(here, sizeof here)) std::snprintf(here, sizeof here, "this folder");
        std::fprintf(stderr,
                     "veltrane: there is no txt/config.tda in %s: start veltrane in a game folder, or name "
                     "one: veltrane GAME_DIR\n",
                     here);
    }
    Reader_options(scale, fullscreen);
    reader.read_marks_dir = Read_marks_home();
    Use_sdl_backend();
    game.tell_stderr = 1; // an author who starts the game from a terminal reads every box there too
    static const Instance instance{veltrane_icon_bmp, sizeof veltrane_icon_bmp};
    return Main_play(&instance, options, "veltrane");
}
