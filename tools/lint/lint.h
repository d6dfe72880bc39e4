// veltrane-lint: checks the scripts of a game folder without playing them.
#pragma once

#include <string>

struct Lint_result {
    std::string report; // one "FILE:LINE: error|warning: message" line per problem, UTF-8
    int errors = 0;
    int warnings = 0;
};

// Checks txt/config.tda of the game folder in the working directory and every script it reaches
// through file_change. Uses game.script_buf and makes a fresh headless backend current, so that
// the message boxes of the engine's own scanning routines are recorded rather than shown.
Lint_result Lint_game();
// Checks the one script at path (as scripts name files, CP932: ".\\txt\\b.tda"), as Lint_game checks
// each script, and the labels it names in other scripts; their own problems are not told.
Lint_result Lint_script(const std::string& path);

// Every command word with its arguments, "#g_load surface, picture", one a line, then the
// transitions' names on a line "effects: CURTAIN ...", as the engine's tables give them.
std::string Command_list();
