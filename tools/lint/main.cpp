// veltrane-lint [GAME_DIR]: reports the problems of a game folder's scripts (the current folder's
// without one), one a line, and exits with 1 when one of them is an error. veltrane-lint --commands
// lists the command words with their arguments, and the transitions.
#include "lint.h"

#include <cstdio>
#include <filesystem>
#include <string>

constexpr char USAGE[] = "usage: veltrane-lint [GAME_DIR]   checks the game folder's scripts (default: .)\n"
                         "       veltrane-lint --commands   lists the command words and the transitions\n";

int main(int argc, char** argv) {
    std::string arg = argc == 2 ? argv[1] : ".";
    if (argc == 2 && (arg == "--help" || arg == "-h")) {
        std::fputs(USAGE, stdout);
        return 0;
    }
    if (argc == 2 && arg == "--commands") {
        std::fputs(Command_list().c_str(), stdout);
        return 0;
    }
    if (argc > 2 || arg[0] == '-') {
        std::fputs(USAGE, stderr);
        return 2;
    }
    std::error_code ec;
    std::filesystem::current_path(arg, ec);
    if (ec) {
        std::fprintf(stderr, "veltrane-lint: cannot enter %s: %s\n", arg.c_str(), ec.message().c_str());
        return 2;
    }
    Lint_result result = Lint_game();
    std::fputs(result.report.c_str(), stdout);
    return result.errors > 0 ? 1 : 0;
}
