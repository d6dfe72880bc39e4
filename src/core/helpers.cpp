// Rectangles, the strict mouse test, and the message box every part of the engine reports with.
#include "core.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

Rect Rect_make(int left, int top, int right, int bottom) { return Rect{left, top, right, bottom}; }

Rect Rect_offset(int left, int top, int right, int bottom, int dx, int dy) {
    return Rect{Add32(left, dx), Add32(top, dy), Add32(right, dx), Add32(bottom, dy)};
}

int Pt_in_rect(int left, int top, int right, int bottom) {
    return left < game.mouse_x && game.mouse_x < right && top < game.mouse_y && game.mouse_y < bottom ? 1 : 0;
}

int Msg_box(const char* text, const char* caption) { return MessageBox(nullptr, text, caption, MB_OK); }

namespace {

// Bytes of text that fit in room, never splitting a two-byte character.
size_t Cut_to_fit(const char* text, size_t room) {
    size_t len = 0;
    while (text[len]) {
        size_t n = Cp932_is_lead((unsigned char)text[len]) && text[len + 1] ? 2 : 1;
        if (len + n > room) break;
        len += n;
    }
    return len;
}

} // namespace

int Msg_box_arg(const char* format, const char* arg, const char* caption) {
    char message[256];
    const char* hole = std::strstr(format, "%s");
    size_t head = hole ? (size_t)(hole - format) : std::strlen(format);
    const char* tail = hole ? hole + 2 : "";
    size_t fixed = std::min(head + std::strlen(tail), sizeof message - 1);
    size_t taken = Cut_to_fit(arg, sizeof message - 1 - fixed);
    std::snprintf(message, sizeof message, "%.*s%.*s%s", (int)head, format, (int)taken, arg, tail);
    return Msg_box(message, caption);
}

int Format_whole(char* out, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(out, size, format, args);
    va_end(args);
    if (n >= 0 && (size_t)n < size) return 1;
    // cut short: a first byte whose second byte fell off goes too
    for (size_t at = 0; out[at]; at += Cp932_is_lead((unsigned char)out[at]) ? 2 : 1) {
        if (Cp932_is_lead((unsigned char)out[at]) && !out[at + 1]) {
            out[at] = 0;
            break;
        }
    }
    return 0;
}
