// Marks a surface as drawn on: its version becomes a value no surface has had before, so a
// version names one picture even across surfaces that reuse an address, and the rectangle written
// joins its damage. A rectangle that misses the surface changes nothing.
#pragma once

#include "desktop_draw.h"

void Touch(Surface* surface, int64_t left, int64_t top, int64_t right, int64_t bottom);
// The whole surface.
void Touch(Surface* surface);
// The surface's damage, emptied.
Damage Take_damage(const Surface* surface);
