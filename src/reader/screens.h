// The window's layers the reader's screens are drawn in, over the presented picture at the window's own
// resolution: a screen stacks its backdrop, panel and the like on the layers from 0 upward, and the
// notice lies over them all.
#pragma once

#include "platform.h"

constexpr int LAYER_NOTICE = WINDOW_LAYERS - 1;
