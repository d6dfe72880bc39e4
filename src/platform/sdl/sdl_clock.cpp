// The SDL backend's clock, on the standard library's steady clock.
#include "sdl_clock.h"

#include <sys/prctl.h>

#include <chrono>
#include <thread>

Sdl_clock::Sdl_clock() {
    // Sleep(1) may last up to 3 ms, as a desktop's coarse timer lets it: every wake-up has a
    // price, and gathering them makes an idle game nearly free without a visible difference
    prctl(PR_SET_TIMERSLACK, 2000000UL);
}

DWORD Sdl_clock::ticks() const {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return (DWORD)std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
}

void Sdl_clock::sleep(DWORD ms) const { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
