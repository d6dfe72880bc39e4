// The backend in use, its services, and the hooks a backend for tests may add.
#include "backend.h"
#include "backend_hooks.h"
#include "window/window_internal.h"

namespace {

std::unique_ptr<Backend> backend;
Window_backend* window_service = nullptr;
Sound_backend* sound_service = nullptr;
Backend_hooks* hooks = nullptr;

} // namespace

Window_backend* Window_service() { return window_service; }

Sound_backend* Sound_service() { return sound_service; }

Backend_hooks* Current_hooks() { return hooks; }

void Set_hooks(Backend_hooks* next) { hooks = next; }

void Set_backend(std::unique_ptr<Backend> next) {
    Reset_windows();
    Reset_messages();
    Reset_music();
    hooks = nullptr;
    window_service = next ? &next->window_service() : nullptr;
    sound_service = next ? &next->sound_service() : nullptr;
    backend = std::move(next);
}
