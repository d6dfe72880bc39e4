// The stand-in gamepad's pipe, read on a thread that only posts what it reads; SDL's joysticks are
// touched on the main thread alone.
#include "sdl_pad_hook.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum Pad_line : Sint32 { ATTACH, DETACH, PRESS, RELEASE, AXIS };

constexpr int POLL_MS = 100; // how soon the thread sees that the program ends

} // namespace

Sdl_pad_hook::~Sdl_pad_hook() {
    stopping = true;
    if (reader.joinable()) reader.join();
    if (fd >= 0) close(fd);
    detach();
}

void Sdl_pad_hook::start() {
    const char* path = std::getenv("VELTRANE_TEST_PAD");
    if (!path || !*path || fd >= 0) return;
    // opened for writing too, so that a writer that closes never leaves it at its end
    fd = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "veltrane: VELTRANE_TEST_PAD: cannot open %s\n", path);
        return;
    }
    line_event = SDL_RegisterEvents(1);
    reader = std::thread(&Sdl_pad_hook::read_pipe, this);
}

void Sdl_pad_hook::read_pipe() {
    std::string pending;
    char bytes[256];
    while (!stopping) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, POLL_MS) <= 0) continue;
        ssize_t got = read(fd, bytes, sizeof bytes);
        if (got <= 0) continue;
        pending.append(bytes, (size_t)got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
            post(pending.substr(0, end).c_str());
    }
}

// The line as an event: its kind, the button or axis, the axis's value.
void Sdl_pad_hook::post(const char* line) {
    char word[16] = "", name[32] = "";
    int value = 0;
    if (std::sscanf(line, "%15s %31s %d", word, name, &value) < 1) return;
    static const char* const words[] = {"attach", "detach", "press", "release", "axis"};
    SDL_Event e{};
    e.type = line_event;
    e.user.code = -1;
    for (Sint32 k = ATTACH; k <= AXIS; k++)
        if (!std::strcmp(word, words[k])) e.user.code = k;
    int index = e.user.code == AXIS ? (int)SDL_GameControllerGetAxisFromString(name)
                                    : (int)SDL_GameControllerGetButtonFromString(name);
    if (e.user.code < 0 || (e.user.code >= PRESS && index < 0)) return;
    e.user.data1 = (void*)(intptr_t)index;
    e.user.data2 = (void*)(intptr_t)value;
    SDL_PushEvent(&e);
}

bool Sdl_pad_hook::route(const SDL_Event& e) {
    if (line_event == 0 || e.type != line_event) return false;
    int index = (int)(intptr_t)e.user.data1;
    switch (e.user.code) {
    case ATTACH:
        attach();
        break;
    case DETACH:
        detach();
        break;
    case AXIS:
        if (joystick) SDL_JoystickSetVirtualAxis(joystick, index, (Sint16)(intptr_t)e.user.data2);
        break;
    default:
        if (joystick) SDL_JoystickSetVirtualButton(joystick, index, e.user.code == PRESS);
    }
    return true;
}

// A controller as SDL makes one for a virtual joystick: its buttons and axes in SDL's own order.
void Sdl_pad_hook::attach() {
    if (joystick) return;
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
    joystick = device < 0 ? nullptr : SDL_JoystickOpen(device);
    if (!joystick) std::fprintf(stderr, "veltrane: VELTRANE_TEST_PAD: no virtual pad: %s\n", SDL_GetError());
}

void Sdl_pad_hook::detach() {
    if (!joystick) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); device++)
        if (SDL_JoystickGetDeviceInstanceID(device) == id) {
            SDL_JoystickDetachVirtual(device);
            return;
        }
}
