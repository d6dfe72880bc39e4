// veltrane-lint --saves: the saves an earlier version of a story made, each checked against the story
// as the game folder now holds it, as a restore would carry it there.
#pragma once

#include <string>

// Checks every file of dir (an absolute path; named as the author wrote it) against the game folder in
// the working directory, one line each on stdout: "SAVE: FILE:LINE: TEXT" where the restored story
// goes on, or "SAVE: keeps its own copy: WHY". 0 when every save lands, 1 when one keeps its own copy
// or a file is no save that can be checked, 2 when dir cannot be listed.
int Lint_saves(const std::string& dir, const std::string& named);
