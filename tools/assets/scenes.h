// The demo story's backgrounds, 640 x 480 each, drawn from shapes and gradients, each with a darkened
// band at the bottom that the story types its text on.
#pragma once

#include "platform.h"

struct Scene {
    const char* file;
    Surface* (*make)();
};

extern const Scene scenes[6];

// The first background of a new game folder (veltrane-new): a quiet dusk over low hills, with a
// darkened band from y 288 to 467 for the text, as every scene has.
Surface* Make_first_background();
