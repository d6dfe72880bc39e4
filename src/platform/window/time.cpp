// The tick counter and the idle sleep, from the backend's clock.
#include "backend/backend.h"

DWORD GetTickCount() {
    Window_backend* b = Window_service();
    return b ? b->ticks() : 0;
}

void Sleep(DWORD ms) {
    if (Window_backend* b = Window_service()) b->sleep(ms);
}
