// veltrane-lint --pages: every route of the story played, and what the engine's own layout shows the
// reader on the way: a choice with no room for its menu, a wrap that strands a mark, text below the area.
#pragma once

#include "lint.h"

// Plays the story of the game folder in the working directory route by route and reports what its
// pages show, each finding once with the first route that meets it, in script and line order. With
// line_breaks off the wraps are not looked at. Nothing when the first script is missing: the checks
// of Lint_game tell that.
Lint_result Lint_pages(bool line_breaks);
