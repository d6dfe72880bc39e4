// The tick counter and the idle sleep, from the backend's clock.
#include "backend.h"

DWORD GetTickCount() {
    Backend* b = Current_backend();
    return b ? b->ticks() : 0;
}

void Sleep(DWORD ms) {
    if (Backend* b = Current_backend()) b->sleep(ms);
}
