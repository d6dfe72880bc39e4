// The backend in use and its services.
#include "backend.h"
#include "window_internal.h"

namespace {

std::unique_ptr<Backend> backend;
Window_backend* window_service = nullptr;
Sound_backend* sound_service = nullptr;

} // namespace

Window_backend* Window_service() { return window_service; }

Sound_backend* Sound_service() { return sound_service; }

void Set_backend(std::unique_ptr<Backend> next) {
    Reset_windows();
    Reset_messages();
    Reset_music();
    window_service = next ? &next->window_service() : nullptr;
    sound_service = next ? &next->sound_service() : nullptr;
    backend = std::move(next);
}
