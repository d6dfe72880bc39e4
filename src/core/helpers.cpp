// Rectangles, the strict mouse test, and the message box every part of the engine reports with.
#include "core.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

Rect Rect_make(int left, int top, int right, int bottom) { return Rect{left, top, right, bottom}; }

Rect Rect_offset(int left, int top, int right, int bottom, int dx, int dy) {
    return Rect{Add32(left, dx), Add32(top, dy), Add32(right, dx), Add32(bottom, dy)};
}

int Pt_in_rect(int left, int top, int right, int bottom) {
    return left < game.mouse_x && game.mouse_x < right && top < game.mouse_y && game.mouse_y < bottom ? 1 : 0;
}

int Msg_box(const char* text, const char* caption) { return Msg_box_about(text, caption, nullptr); }

std::string Folder_path(const char* path) {
    std::string out = Cp932_to_utf8(path);
    if (out.rfind(".\\", 0) == 0) out.erase(0, 2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string Found_path(const char* path) {
    return std::filesystem::path(Game_file_path(path)).lexically_normal().string();
}

namespace {

// One line for the terminal: line feeds become blanks.
std::string One_line(const char* cp932) {
    std::string out = Cp932_to_utf8(cp932 ? cp932 : "");
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

std::string told_at; // a place the boxes are told at instead of cur's, while a construct asks for it

void Tell_stderr(const char* text, const char* caption, const char* detail) {
    std::string where = Box_place();
    std::fprintf(stderr, "%s%s\n", where.empty() ? "veltrane: " : (where + ": ").c_str(),
                 Box_line(text, caption, detail).c_str());
}

} // namespace

std::string Box_place() { return told_at.empty() ? Place_of(game.cur) : told_at; }

std::string Box_line(const char* text, const char* caption, const char* detail) {
    std::string about = detail ? " (" + Folder_path(detail) + ")" : "";
    return One_line(caption) + ": " + One_line(text) + about;
}

std::string Place_of(int pos) {
    if (!game.script_name[0]) return "";
    int line = 1 + (int)std::count(game.script_buf, game.script_buf + std::clamp(pos, 0, SCRIPT_LAST), '\n');
    return Folder_path(game.script_name) + ":" + std::to_string(line);
}

void Tell_at(const std::string& place) { told_at = place; }

int Msg_box_about(const char* text, const char* caption, const char* detail) {
    if (game.tell_stderr == 1) Tell_stderr(text, caption, detail);
    if (observer) observer->boxed(text, caption, detail);
    return MessageBox(nullptr, text, caption, MB_OK);
}

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
