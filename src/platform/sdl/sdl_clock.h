// The SDL backend's clock: milliseconds of the monotonic clock, and rests as coarse as a desktop's.
#pragma once

#include "desktop_types.h"

class Sdl_clock {
  public:
    Sdl_clock();
    DWORD ticks() const;
    void sleep(DWORD ms) const;
};
