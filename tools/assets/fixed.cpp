// The pictures every game folder holds under fixed names, and the program icon.
#include "fixed.h"
#include "draw.h"

#include <cmath>
#include <string>

namespace {

// The click cursor: a downward wedge that shades from gold to cream, inside a 25 x 25 cell.
bool In_cursor(int x, int y) {
    if (y < 6 || y > 19) return false;
    int half = (19 - y) * 9 / 13;
    return std::abs(x - 12) <= half;
}

// The text without its last character.
std::string Drop_last(const std::string& utf8) {
    size_t n = utf8.size();
    while (n > 0 && ((unsigned char)utf8[n - 1] & 0xC0) == 0x80) n--;
    return utf8.substr(0, n > 0 ? n - 1 : 0);
}

// The title as large as fits the cell's width, from 24 pixels down to 12, then cut.
void Title(Surface* s, int x, const char* title) {
    std::string text = title;
    int height = 24;
    while (height > 12 && Text_width(height, text.c_str()) > 184) height--;
    while (!text.empty() && Text_width(height, (text + "…").c_str()) > 184) text = Drop_last(text);
    if (text != title) text += "…";
    Text(s, x, 26 + (24 - height) / 2, height, RGB(240, 230, 200), text.c_str());
}

// One 200 x 200 cell of the start menu: a framed night-blue panel, the title, and the button,
// lit in the highlighted look.
void Start_cell(Surface* s, int ox, bool lit, const char* title, const char* footer) {
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 200; x++) Put(s, ox + x, y, Pixel(12, 16 + y / 8, 40 + y / 5));
    Fill(s, ox + 4, 4, 192, 2, RGB(200, 170, 90));
    Fill(s, ox + 4, 194, 192, 2, RGB(200, 170, 90));
    Fill(s, ox + 4, 4, 2, 192, RGB(200, 170, 90));
    Fill(s, ox + 194, 4, 2, 192, RGB(200, 170, 90));
    Title(s, ox + 100, title);
    const Rect& b = START_BUTTON;
    int w = b.right - b.left, h = b.bottom - b.top;
    Fill(s, ox + b.left, b.top, w, h, lit ? RGB(255, 220, 120) : RGB(200, 170, 90));
    Fill(s, ox + b.left + 3, b.top + 3, w - 6, h - 6, lit ? RGB(120, 60, 20) : RGB(40, 30, 60));
    Text(s, ox + 100, 89, 22, lit ? RGB(255, 240, 200) : RGB(220, 210, 190), "はじめる");
    if (footer && *footer) Text(s, ox + 100, 150, 14, RGB(150, 150, 180), footer);
}

} // namespace

Surface* Make_parts() {
    Surface* s = CreateSurface(PARTS_PICTURE.width, PARTS_PICTURE.height);
    for (int y = 0; y < 25; y++) {
        for (int x = 0; x < 25; x++) {
            bool on = In_cursor(x, y);
            int t = (y - 6) * 255 / 13;
            Put(s, x, y, on ? Pixel(255, 236 - t / 4, 160 - t / 2) : 0);      // sprite on black
            Put(s, 25 + x, y, on ? 0 : Pixel(255, 255, 255));                 // mask: black under it
            Put(s, 50 + x, y, ((x / 5 + y / 5) % 2) ? Pixel(64, 64, 64) : 0); // save slot, never shown
        }
    }
    return s;
}

Surface* Make_back_black() { return CreateSurface(BACK_PICTURE.width, BACK_PICTURE.height); }

Surface* Make_start(const char* title, const char* footer) {
    Surface* s = CreateSurface(START_PICTURE.width, START_PICTURE.height);
    Start_cell(s, 0, false, title, footer);
    Start_cell(s, 200, true, title, footer);
    return s;
}

Surface* Make_icon() {
    Surface* s = CreateSurface(32, 32);
    for (int y = 0; y < 32; y++) {
        for (int x = 0; x < 32; x++) {
            bool edge = x == 0 || y == 0 || x == 31 || y == 31;
            Put(s, x, y, edge ? Pixel(10, 14, 40) : Pixel(24, 32 + y, 90 + y * 2));
            double d1 = std::fabs((x - 6) * 0.8 - (y - 5) * 0.36),
                   d2 = std::fabs((25 - x) * 0.8 - (y - 5) * 0.36);
            if (y >= 5 && y <= 27 && (d1 < 1.6 || d2 < 1.6)) Put(s, x, y, Pixel(250, 210, 110));
        }
    }
    return s;
}
