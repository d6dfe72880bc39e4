// The demo story's backgrounds, 640 x 480 each, drawn from shapes and gradients.
#pragma once

#include "platform.h"

struct Scene {
    const char* file;
    Surface* (*make)();
};

extern const Scene scenes[6];

// The first background of a new game folder (veltrane-new): a quiet dusk over low hills, with a
// darkened band from y 288 to 467 for the text.
Surface* Make_first_background();
