// What a new game folder holds besides its pictures: the starter story and the author's README.
#pragma once

#include <string>

// txt/config.utf8.txt: a short story that shows the commands an author needs first, with
// comments on each, over the first background (gdat/first.bgh) and the start menu.
extern const char STARTER_STORY[];
// README.txt: how to play, edit, convert and check the folder named dir.
std::string Starter_readme(const std::string& dir);
