// The demo story's backgrounds, 640 x 480 each, drawn from shapes and gradients.
#pragma once

#include "platform.h"

struct Scene {
    const char* file;
    Surface* (*make)();
};

extern const Scene scenes[6];
