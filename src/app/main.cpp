// The real program: the SDL backend, the program's own icon, and WinMain, in the game folder named
// on the command line or else in the working directory.
#include "app.h"
#include "sdl.h"

#include "veltrane_icon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(
            stderr,
            "usage: veltrane [GAME_DIR]\n"
            "plays the game folder GAME_DIR (txt/config.tda and the rest), or the working directory\n");
        return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }
    if (argc == 2 && chdir(argv[1]) != 0) {
        std::fprintf(stderr, "veltrane: cannot enter %s: %s\n", argv[1], std::strerror(errno));
        return 2;
    }
    if (FILE* first = Game_fopen(".\\txt\\config.tda")) {
        std::fclose(first);
    } else {
        // the story still starts, with its boxes: the terminal says why they come
        char here[4096] = "this folder";
        if (!getcwd(here, sizeof here)) std::snprintf(here, sizeof here, "this folder");
        std::fprintf(stderr,
                     "veltrane: there is no txt/config.tda in %s: start veltrane in a game folder, or name "
                     "one: veltrane GAME_DIR\n",
                     here);
    }
    Use_sdl_backend();
    game.tell_stderr = 1; // an author who starts the game from a terminal reads every box there too
    static const Instance instance{veltrane_icon_bmp, sizeof veltrane_icon_bmp};
    return WinMain(&instance, nullptr, "", SW_SHOWNORMAL);
}
