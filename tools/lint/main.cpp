// veltrane-lint [GAME_DIR]: reports the problems of a game folder's scripts (the current folder's
// without one), one a line, and exits with 1 when one of them is an error. veltrane-lint --commands
// lists the command words with their arguments, and the transitions; veltrane-lint --saves DIR
// [GAME_DIR] checks saves of an earlier version of the story against the folder's scripts;
// veltrane-lint --script FILE [GAME_DIR] checks one script.
#include "lint.h"
#include "saves.h"
#include "script.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr char USAGE[] =
    "usage: veltrane-lint [GAME_DIR]   checks the game folder's scripts (default: .)\n"
    "       veltrane-lint --script FILE [GAME_DIR]\n"
    "                                  checks the one script FILE of the game folder (txt/b.tda), and the\n"
    "                                  labels it names in others\n"
    "       veltrane-lint --commands   lists the command words and the transitions\n"
    "       veltrane-lint --saves DIR [GAME_DIR]\n"
    "                                  tells where each save of DIR (quick.sav, 3.sav, wait-0001.sav ...)\n"
    "                                  goes on in the game folder's scripts as they are now, or why it\n"
    "                                  keeps its own copy of its script\n";

int Refuse() {
    std::fputs(USAGE, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string first = argc >= 2 ? argv[1] : "";
    if (argc == 2 && (first == "--help" || first == "-h")) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc == 2 && first == "--commands") {
        std::fputs(Command_list().c_str(), stdout);
        return 0;
    }
    bool saves = first == "--saves", script = first == "--script";
    // the saves' folder is named from where the program was started, before it enters the game's
    std::string saves_dir = saves && argc >= 3 ? std::filesystem::absolute(argv[2]).string() : "";
    int folder_at = saves || script ? 3 : 1;
    std::string folder = argc > folder_at ? argv[folder_at] : ".";
    if ((folder_at == 3 && (argc < 3 || !argv[2][0])) || argc > folder_at + 1 || folder.empty() ||
        folder[0] == '-' || (folder_at == 1 && first[0] == '-'))
        return Refuse();
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec) {
        std::fprintf(stderr, "veltrane-lint: cannot enter %s: %s\n", folder.c_str(), ec.message().c_str());
        return 2;
    }
    if (saves) return Lint_saves(saves_dir, argv[2]);
    // the script found as veltrane --script finds it: a path in the folder, or a name in txt/
    char why[512];
    if (script && !Script_first(argv[2], why, sizeof why)) {
        std::fprintf(stderr, "veltrane-lint: %s\n", why);
        return 2;
    }
    Lint_result result = script ? Lint_script(game.script_name) : Lint_game();
    std::fputs(result.report.c_str(), stdout);
    return result.errors > 0 ? 1 : 0;
}
