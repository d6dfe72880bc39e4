// The reading view (V, or the reader's menu): the page being read in large type over the dimmed
// picture, or with the high-contrast setting in yellow on black over the whole picture. The picture
// beneath is never touched. Long text is paged.
#pragma once

#include "screens.h"

#include <functional>
#include <string>
#include <vector>

constexpr int READING_FONT = 28; // units: the view's text height

// Opens the view over the story (refused under a message box).
void Reading_view_open();
// Text (CP932) broken into lines no wider than width as extent measures them: at its own line breaks,
// else between characters, a closing mark (、。」...) kept on the line it closes.
std::vector<std::string> Reading_lines(const std::string& text, int width,
                                       const std::function<int(const std::string&)>& extent);
