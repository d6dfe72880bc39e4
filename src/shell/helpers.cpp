// Rectangles, the strict mouse test, and the message box every part of the engine reports with.
#include "shell.h"

Rect Rect_make(int left, int top, int right, int bottom) { return Rect{left, top, right, bottom}; }

namespace {

// Offsets come from scripts: add as the 32-bit machine does, wrapping instead of overflowing.
int32_t Add(int a, int b) { return (int32_t)((uint32_t)a + (uint32_t)b); }

} // namespace

Rect Rect_offset(int left, int top, int right, int bottom, int dx, int dy) {
    return Rect{Add(left, dx), Add(top, dy), Add(right, dx), Add(bottom, dy)};
}

int Pt_in_rect(int left, int top, int right, int bottom) {
    return left < game.mouse_x && game.mouse_x < right && top < game.mouse_y && game.mouse_y < bottom ? 1 : 0;
}

int Msg_box(const char* text, const char* caption) { return MessageBox(nullptr, text, caption, MB_OK); }
