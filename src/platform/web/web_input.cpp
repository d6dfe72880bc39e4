// The page's handlers call these with what the reader did: keys already as VK_ codes, buttons and
// moves at canvas positions. They become the game window's messages as the desktop makes them.
#include "web_window.h"

#include <emscripten/emscripten.h>

#include <algorithm>

namespace {

WPARAM held = 0; // the buttons down, as MK_ bits
bool shift = false, control = false;

WPARAM Mk_word() { return held | (shift ? MK_SHIFT : 0) | (control ? MK_CONTROL : 0); }

} // namespace

extern "C" {

// A key pressed or let go: vk a VK_ code, repeat whether the page repeats it, alt whether Alt is down.
EMSCRIPTEN_KEEPALIVE void Web_key(int down, int vk, int repeat, int alt) {
    Web_window* w = Current_web_window();
    if (!w || vk <= 0 || vk > 0xFE) return;
    if (vk == VK_SHIFT) shift = down;
    if (vk == VK_CONTROL) control = down;
    LPARAM l = 1 | (alt ? 1 << 29 : 0);
    if (!down)
        l |= (LPARAM)(3u << 30);
    else if (repeat)
        l |= 1 << 30;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    w->post(message, (WPARAM)vk, l);
}

// kind 0 a move, 1 a press, 2 a release; button 0 left, 1 middle, 2 right, as the page numbers them.
EMSCRIPTEN_KEEPALIVE void Web_mouse(int kind, int button, int x, int y) {
    Web_window* w = Current_web_window();
    if (!w) return;
    if (kind == 0) return w->post_at(WM_MOUSEMOVE, Mk_word(), x, y);
    static const struct {
        WPARAM bit;
        UINT down, up;
    } kinds[] = {{MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
                 {MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP},
                 {MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP}};
    if (button < 0 || button > 2) return;
    const auto& k = kinds[button];
    bool down = kind == 1;
    held = down ? (held | k.bit) : (held & ~k.bit);
    w->post_at(down ? k.down : k.up, Mk_word(), x, y);
}

// The wheel turned by notches, up positive, with the pointer at (x, y).
EMSCRIPTEN_KEEPALIVE void Web_wheel(int notches, int x, int y) {
    Web_window* w = Current_web_window();
    if (!w || notches == 0) return;
    int delta = std::clamp(notches, -273, 273) * WHEEL_DELTA; // within the message's 16 bits
    w->post_at(WM_MOUSEWHEEL, Mk_word() | (WPARAM)(uint16_t)(int16_t)delta << 16, x, y);
}

EMSCRIPTEN_KEEPALIVE void Web_resized(int width, int height) {
    if (Web_window* w = Current_web_window()) w->resize(width, height);
}

EMSCRIPTEN_KEEPALIVE void Web_exposed() {
    if (Web_window* w = Current_web_window()) w->expose();
}

// The reader leaves the page, or ends the story from it.
EMSCRIPTEN_KEEPALIVE void Web_close() {
    if (Web_window* w = Current_web_window()) w->post(WM_CLOSE, 0, 0);
}
}
