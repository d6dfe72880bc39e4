// veltrane-lint GAME_DIR: reports the problems of a game folder's scripts, one a line, and exits
// with 1 when one of them is an error. veltrane-lint --commands lists the command words with their
// arguments, and the transitions.
#include "lint.h"

#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--commands") {
        std::fputs(Command_list().c_str(), stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs("usage: veltrane-lint GAME_DIR | --commands\n", stderr);
        return 2;
    }
    std::error_code ec;
    std::filesystem::current_path(argv[1], ec);
    if (ec) {
        std::fprintf(stderr, "veltrane-lint: cannot enter %s: %s\n", argv[1], ec.message().c_str());
        return 2;
    }
    Lint_result result = Lint_game();
    std::fputs(result.report.c_str(), stdout);
    return result.errors > 0 ? 1 : 0;
}
