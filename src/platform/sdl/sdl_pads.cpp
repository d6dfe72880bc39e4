// Gamepads through SDL's game-controller mappings: buttons as gamepad keys, the left stick and the
// triggers as keys held while pushed past half way.
#include "sdl_pads.h"

#include <cstdio>

namespace {

constexpr int PUSHED = 16384, LET_GO = 8192; // of 32767: a key goes down past the one, up under the other
constexpr DWORD PAD_READ_MS = 16, PLUG_CHECK_MS = 1000;
constexpr Uint32 REPEAT_DELAY_MS = 400, REPEAT_EVERY_MS = 80;

WPARAM Vk_of(Uint8 button) {
    static const WPARAM keys[SDL_CONTROLLER_BUTTON_MAX] = {
        VK_GAMEPAD_A,
        VK_GAMEPAD_B,
        VK_GAMEPAD_X,
        VK_GAMEPAD_Y,
        VK_GAMEPAD_VIEW, // back
        0,               // the guide button is the system's
        VK_GAMEPAD_MENU, // start
        VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON,
        VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON,
        VK_GAMEPAD_LEFT_SHOULDER,
        VK_GAMEPAD_RIGHT_SHOULDER,
        VK_GAMEPAD_DPAD_UP,
        VK_GAMEPAD_DPAD_DOWN,
        VK_GAMEPAD_DPAD_LEFT,
        VK_GAMEPAD_DPAD_RIGHT,
    };
    return button < SDL_CONTROLLER_BUTTON_MAX ? keys[button] : 0;
}

uint32_t Bit(WPARAM vk) { return 1u << (vk - VK_GAMEPAD_A); }

// The keys that move through rows and pages.
bool Repeats(WPARAM vk) {
    return vk == VK_GAMEPAD_LEFT_SHOULDER || vk == VK_GAMEPAD_RIGHT_SHOULDER ||
           (vk >= VK_GAMEPAD_DPAD_UP && vk <= VK_GAMEPAD_DPAD_RIGHT) ||
           (vk >= VK_GAMEPAD_LEFT_THUMBSTICK_UP && vk <= VK_GAMEPAD_LEFT_THUMBSTICK_LEFT);
}

} // namespace

Sdl_pads::~Sdl_pads() {
    for (auto& entry : pads) SDL_GameControllerClose(entry.second.controller);
}

void Sdl_pads::start() {
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "veltrane: no gamepads: %s\n", SDL_GetError());
        return;
    }
    started = true;
}

void Sdl_pads::update() {
    if (started) SDL_GameControllerUpdate();
}

DWORD Sdl_pads::longest_wait() const {
    if (!started) return INFINITE;
    return pads.empty() ? PLUG_CHECK_MS : PAD_READ_MS;
}

bool Sdl_pads::route(const SDL_Event& e, Event_sink sink) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) {
            SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
            // told twice (plugged in at the start): the pad is opened once
            if (!pads.emplace(id, Pad{c, 0}).second) SDL_GameControllerClose(c);
        }
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        removed(e.cdevice.which, sink);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (auto p = pads.find(e.cbutton.which); p != pads.end() && Vk_of(e.cbutton.button))
            key(p->second, Vk_of(e.cbutton.button), e.type == SDL_CONTROLLERBUTTONDOWN, sink);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (auto p = pads.find(e.caxis.which); p != pads.end()) axis(p->second, e.caxis, sink);
        return true;
    default:
        return false;
    }
}

bool Sdl_pads::Answers_box(const SDL_Event& e) {
    return e.type == SDL_CONTROLLERBUTTONDOWN &&
           (e.cbutton.button == SDL_CONTROLLER_BUTTON_A || e.cbutton.button == SDL_CONTROLLER_BUTTON_B);
}

// A key goes down or up once: a button told twice, or a stick that stays past half way, sends nothing more.
void Sdl_pads::key(Pad& pad, WPARAM vk, bool down, Event_sink sink) {
    if (((pad.held & Bit(vk)) != 0) == down) return;
    pad.held ^= Bit(vk);
    if (down && Repeats(vk)) {
        pad.repeating = vk;
        pad.repeat_tick = SDL_GetTicks() + REPEAT_DELAY_MS;
    } else if (!down && pad.repeating == vk) {
        pad.repeating = 0;
    }
    sink(down ? WM_KEYDOWN : WM_KEYUP, vk, down ? 1 : (LPARAM)(1u | 3u << 30));
}

void Sdl_pads::repeat(Event_sink sink) {
    for (auto& entry : pads) {
        Pad& pad = entry.second;
        if (!pad.repeating || (Sint32)(SDL_GetTicks() - pad.repeat_tick) < 0) continue;
        pad.repeat_tick = SDL_GetTicks() + REPEAT_EVERY_MS;
        // the repeat bit, as a held key's own
        sink(WM_KEYDOWN, pad.repeating, (LPARAM)(1u | 1u << 30));
    }
}

// One direction of an axis as a key, value 0 to 32767 along it: a stick resting near the line between
// the two does not chatter.
void Sdl_pads::half(Pad& pad, WPARAM vk, int value, Event_sink sink) {
    if (value >= PUSHED) key(pad, vk, true, sink);
    if (value < LET_GO) key(pad, vk, false, sink);
}

void Sdl_pads::axis(Pad& pad, const SDL_ControllerAxisEvent& a, Event_sink sink) {
    int v = a.value;
    switch (a.axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        half(pad, VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT, v, sink);
        half(pad, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, -v, sink);
        break;
    case SDL_CONTROLLER_AXIS_LEFTY: // down is positive
        half(pad, VK_GAMEPAD_LEFT_THUMBSTICK_DOWN, v, sink);
        half(pad, VK_GAMEPAD_LEFT_THUMBSTICK_UP, -v, sink);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        half(pad, VK_GAMEPAD_LEFT_TRIGGER, v, sink);
        break;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        half(pad, VK_GAMEPAD_RIGHT_TRIGGER, v, sink);
        break;
    }
}

// A pad pulled out lets go of everything it held, so that a trigger held as it went stops skipping.
void Sdl_pads::removed(SDL_JoystickID id, Event_sink sink) {
    auto p = pads.find(id);
    if (p == pads.end()) return;
    for (WPARAM vk = VK_GAMEPAD_A; vk <= VK_GAMEPAD_LEFT_THUMBSTICK_LEFT; vk++)
        key(p->second, vk, false, sink);
    SDL_GameControllerClose(p->second.controller);
    pads.erase(p);
}
