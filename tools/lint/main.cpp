// veltrane-lint [GAME_DIR]: reports the problems of a game folder's scripts (the current folder's
// without one), one a line, and exits with 1 when one of them is an error; with --pages, also what
// every route of the story shows on its pages. veltrane-lint --commands lists the command words with
// their arguments, and the transitions; veltrane-lint --saves DIR [GAME_DIR] checks saves of an
// earlier version of the story against the folder's scripts; veltrane-lint --script FILE [GAME_DIR]
// checks one script.
#include "lint.h"
#include "pages.h"
#include "saves.h"
#include "script.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr char USAGE[] =
    "usage: veltrane-lint [GAME_DIR]   checks the game folder's scripts (default: .)\n"
    "       veltrane-lint --pages [--no-line-breaks] [GAME_DIR]\n"
    "                                  checks them, then plays every route of the story as\n"
    "                                  veltrane-replay --cover does and reports what its pages show: a\n"
    "                                  choice with no room for its menu (an error), a line the engine's\n"
    "                                  wrap by width starts with a closing mark (。」ー...) or ends with an\n"
    "                                  opening one (「...), text below the text area; --no-line-breaks\n"
    "                                  leaves the wraps out\n"
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

// What a check of the scripts is asked: --pages and --no-line-breaks anywhere, and a folder at most.
struct Check_line {
    bool pages = false, line_breaks = true;
    std::string folder = ".";
};

// The arguments from at on; false when they are not a check's.
bool Read_check_line(int argc, char** argv, int at, Check_line* line) {
    bool named = false;
    for (; at < argc; at++) {
        std::string arg = argv[at];
        if (arg == "--pages") {
            line->pages = true;
        } else if (arg == "--no-line-breaks") {
            line->line_breaks = false;
        } else {
            if (arg.empty() || arg[0] == '-' || named) return false;
            line->folder = arg;
            named = true;
        }
    }
    return true;
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
    Check_line line;
    int folder_at = saves || script ? 3 : 1;
    if ((folder_at == 3 && (argc < 3 || !argv[2][0])) || !Read_check_line(argc, argv, folder_at, &line) ||
        (folder_at == 3 && (line.pages || !line.line_breaks)))
        return Refuse();
    if (!line.line_breaks && !line.pages) {
        std::fputs("veltrane-lint: --no-line-breaks goes with --pages\n", stderr);
        return 2;
    }
    const std::string& folder = line.folder;
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
    if (line.pages) {
        Lint_result seen = Lint_pages(line.line_breaks);
        result.report += seen.report;
        result.errors += seen.errors;
        result.warnings += seen.warnings;
    }
    std::fputs(result.report.c_str(), stdout);
    return result.errors > 0 ? 1 : 0;
}
