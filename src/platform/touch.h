// Marks a surface as drawn on: its version becomes a value no surface has had before, so a
// version names one picture even across surfaces that reuse an address.
#pragma once

#include "desktop_draw.h"

void Touch(Surface* surface);
