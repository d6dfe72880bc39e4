// SDL events as the game window's messages: keys with VK_ codes and the repeat bit, buttons and moves
// with MK_ words at picture positions, the wheel in notches, exposure as WM_PAINT, a close request or a quit
// as WM_CLOSE.
#include "sdl_events.h"

#include <algorithm>

namespace {

WPARAM Vk_of(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    static const struct {
        SDL_Keycode key;
        WPARAM vk;
    } keys[] = {{SDLK_RETURN, VK_RETURN},   {SDLK_KP_ENTER, VK_RETURN}, {SDLK_SPACE, VK_SPACE},
                {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},
                {SDLK_DELETE, VK_DELETE},   {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},
                {SDLK_HOME, VK_HOME},       {SDLK_END, VK_END},         {SDLK_LEFT, VK_LEFT},
                {SDLK_UP, VK_UP},           {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},
                {SDLK_LSHIFT, VK_SHIFT},    {SDLK_RSHIFT, VK_SHIFT},    {SDLK_LCTRL, VK_CONTROL},
                {SDLK_RCTRL, VK_CONTROL},   {SDLK_LALT, VK_MENU},       {SDLK_RALT, VK_MENU},
                {SDLK_APPLICATION, VK_APPS}};
    for (const auto& k : keys)
        if (k.key == key) return k.vk;
    return 0;
}

Uint32 Window_of(const SDL_Event& e) {
    switch (e.type) {
    case SDL_WINDOWEVENT:
        return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return e.key.windowID;
    case SDL_MOUSEMOTION:
        return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return e.button.windowID;
    case SDL_MOUSEWHEEL:
        return e.wheel.windowID;
    default:
        return 0;
    }
}

} // namespace

void Sdl_events::pump(Event_sink sink) {
    // a box's own loop never rests as the main loop does, and the box must hear its release
    if (boxes.any()) after_press = false;
    if (!SDL_WasInit(SDL_INIT_VIDEO) || after_press) return;
    pads.update();
    if (window.is_open()) pads.repeat(sink);
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        // the menus see a press by looking at the held buttons on their passes: what comes
        // after a press on the game window (the release of a quick tap) waits one pass
        if (route(e, sink) && !boxes.any()) {
            after_press = true;
            break;
        }
    }
}

void Sdl_events::wait(DWORD ms) {
    after_press = false;
    SDL_WaitEventTimeout(nullptr, (int)std::min<DWORD>({ms, pads.longest_wait(), 0x7FFFFFFF}));
}

void Sdl_events::make_wake_event() {
    if (wake_event == 0) wake_event = SDL_RegisterEvents(1);
}

void Sdl_events::start_pads() {
    pads.start();
    pad_hook.start();
}

void Sdl_events::wake() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event e{};
    e.type = wake_event;
    SDL_PushEvent(&e);
}

// One event to a box or the game window; true when it was a button press on the game window.
bool Sdl_events::route(const SDL_Event& e, Event_sink sink) {
    Uint32 id = Window_of(e);
    if (boxes.take(e, id)) return false;
    if (e.type == SDL_QUIT) {
        // SIGTERM or SIGINT: the game window is asked to close; without one, the boxes are
        // answered, and the program goes on to its end
        if (window.is_open())
            sink(WM_CLOSE, 0, 0);
        else
            boxes.answer_all();
        return false;
    }
    if (pad_hook.route(e)) return false;
    // a reader with only a pad in hand answers a box with it
    if (boxes.any() && Sdl_pads::Answers_box(e)) {
        boxes.answer_last();
        return false;
    }
    if (!window.is_open() || pads.route(e, sink) || id != window.id()) return false;
    switch (e.type) {
    case SDL_WINDOWEVENT:
        route_window(e.window, sink);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        key(e.key, sink);
        break;
    case SDL_MOUSEMOTION: {
        LPARAM at = 0;
        if (window.to_picture(e.motion.x, e.motion.y, &at)) sink(WM_MOUSEMOVE, Mk_word(), at);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        button(e.button, sink);
        return e.type == SDL_MOUSEBUTTONDOWN;
    case SDL_MOUSEWHEEL:
        wheel(e.wheel, sink);
        break;
    }
    return false;
}

// Exposure, a new client size (told as WM_SIZE, and drawn again) and the close button.
void Sdl_events::route_window(const SDL_WindowEvent& w, Event_sink sink) {
    if (w.event == SDL_WINDOWEVENT_EXPOSED) {
        window.expose();
        sink(WM_PAINT, 0, 0);
    } else if (w.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        if (window.resize(w.data1, w.data2)) {
            int width = 0, height = 0;
            window.client_size(&width, &height);
            sink(WM_SIZE, window.maximized() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(width, height));
        }
        sink(WM_PAINT, 0, 0);
    } else if (w.event == SDL_WINDOWEVENT_CLOSE) {
        sink(WM_CLOSE, 0, 0);
    }
}

void Sdl_events::key(const SDL_KeyboardEvent& k, Event_sink sink) {
    WPARAM vk = Vk_of(k.keysym.sym);
    if (vk == 0) return;
    bool alt = k.keysym.mod & KMOD_ALT;
    bool down = k.type == SDL_KEYDOWN;
    LPARAM l = 1 | (LPARAM)(k.keysym.scancode & 0xFF) << 16 | (alt ? 1 << 29 : 0);
    if (!down)
        l |= (LPARAM)(3u << 30);
    else if (k.repeat)
        l |= 1 << 30;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    sink(message, vk, l);
}

void Sdl_events::button(const SDL_MouseButtonEvent& b, Event_sink sink) {
    static const struct {
        Uint8 button;
        WPARAM bit;
        UINT down, up;
    } kinds[] = {{SDL_BUTTON_LEFT, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
                 {SDL_BUTTON_RIGHT, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
                 {SDL_BUTTON_MIDDLE, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP}};
    for (const auto& k : kinds) {
        if (k.button != b.button) continue;
        bool down = b.type == SDL_MOUSEBUTTONDOWN;
        held = down ? (held | k.bit) : (held & ~k.bit);
        // every press is a press of its own: the window asks for no double clicks
        LPARAM at = 0;
        if (window.to_picture(b.x, b.y, &at)) sink(down ? k.down : k.up, Mk_word(), at);
    }
}

// A notch of the wheel is WHEEL_DELTA, up positive, at the pointer's picture position.
void Sdl_events::wheel(const SDL_MouseWheelEvent& w, Event_sink sink) {
    int notches = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    LPARAM at = 0;
    if (notches == 0 || !window.to_picture(x, y, &at)) return;
    int delta = std::clamp(notches, -273, 273) * WHEEL_DELTA; // within the message's 16 bits
    sink(WM_MOUSEWHEEL, Mk_word() | (WPARAM)(uint16_t)(int16_t)delta << 16, at);
}

WPARAM Sdl_events::Mk_word() const {
    SDL_Keymod mod = SDL_GetModState();
    return held | ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
}
