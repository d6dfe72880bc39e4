// How shared platform code reaches the backend in use. A backend implements the small interfaces of
// window_backend.h and sound_backend.h, the parts that touch the outside world; everything else is
// shared code. README.md beside this header says who calls each of them, and when.
#pragma once

#include "sound_backend.h"
#include "window_backend.h"

#include <memory>

// A backend as it is chosen: the owner of its services, which live as long as it stays current.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual Window_backend& window_service() = 0;
    virtual Sound_backend& sound_service() = 0;
};

// The services of the backend in use; null before one is chosen.
Window_backend* Window_service();
Sound_backend* Sound_service();
// Makes a backend current and forgets every message, window and class of the previous one.
void Set_backend(std::unique_ptr<Backend> backend);
