// Draws the demo game's fixed pictures and the program icon, and writes them as BMP files:
//   veltrane-assets ROOT   writes ROOT/demo/gdat/{Parts,back_black,start}.bgh and ROOT/data/veltrane-icon.bmp
#include "platform.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

uint32_t Pixel(int r, int g, int b) { return (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b; }

void Put(Surface* s, int x, int y, uint32_t p) {
    if (x >= 0 && y >= 0 && x < s->width && y < s->height) s->pixels[y * s->width + x] = p;
}

void Fill(Surface* s, int x, int y, int w, int h, COLORREF color) {
    Brush brush{color};
    const Brush* previous = SelectObject(s, &brush);
    PatBlt(s, x, y, w, h, PATCOPY);
    SelectObject(s, previous);
}

// A 24-bit bottom-up BMP, the most plainly readable kind.
bool Write_bmp(const Surface* s, const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    int row = (s->width * 3 + 3) / 4 * 4;
    uint32_t data = (uint32_t)row * s->height, size = 54 + data;
    auto u16 = [&](uint32_t v) { std::fputc(v & 0xFF, f), std::fputc(v >> 8 & 0xFF, f); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    std::fputs("BM", f);
    u32(size), u32(0), u32(54);
    u32(40), u32((uint32_t)s->width), u32((uint32_t)s->height), u16(1), u16(24), u32(0), u32(data);
    u32(2835), u32(2835), u32(0), u32(0);
    for (int y = s->height - 1; y >= 0; y--) {
        for (int x = 0; x < s->width; x++) {
            uint32_t p = s->pixels[y * s->width + x];
            std::fputc(p & 0xFF, f), std::fputc(p >> 8 & 0xFF, f), std::fputc(p >> 16 & 0xFF, f);
        }
        for (int pad = s->width * 3; pad < row; pad++) std::fputc(0, f);
    }
    return std::fclose(f) == 0;
}

// The click cursor: a downward wedge that shades from gold to cream, inside a 25 x 25 cell.
bool In_cursor(int x, int y) {
    if (y < 6 || y > 19) return false;
    int half = (19 - y) * 9 / 13;
    return std::abs(x - 12) <= half;
}

Surface* Make_parts() {
    Surface* s = CreateSurface(75, 25);
    for (int y = 0; y < 25; y++) {
        for (int x = 0; x < 25; x++) {
            bool on = In_cursor(x, y);
            int t = (y - 6) * 255 / 13;
            Put(s, x, y, on ? Pixel(255, 236 - t / 4, 160 - t / 2) : 0);        // sprite on black
            Put(s, 25 + x, y, on ? 0 : Pixel(255, 255, 255));                    // mask: black under it
            Put(s, 50 + x, y, ((x / 5 + y / 5) % 2) ? Pixel(64, 64, 64) : 0);    // save slot, never shown
        }
    }
    return s;
}

void Text(Surface* s, int x, int y, int height, COLORREF color, const char* utf8) {
    std::string cp932 = Utf8_to_cp932(utf8);
    Font* font = CreateFont(height, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
    Font* previous = SelectObject(s, font);
    SetBkMode(s, TRANSPARENT);
    SetTextColor(s, color);
    int w = GetTextExtent(font, cp932.data(), (int)cp932.size());
    TextOut(s, x - w / 2, y, cp932.data(), (int)cp932.size());
    SelectObject(s, previous);
    DeleteObject(font);
}

// One 200 x 200 cell of the start menu: a framed night-blue panel, the title, and the button
// inside (42, 73)-(158, 129), lit in the highlighted look.
void Start_cell(Surface* s, int ox, bool lit) {
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 200; x++) Put(s, ox + x, y, Pixel(12, 16 + y / 8, 40 + y / 5));
    Fill(s, ox + 4, 4, 192, 2, RGB(200, 170, 90));
    Fill(s, ox + 4, 194, 192, 2, RGB(200, 170, 90));
    Fill(s, ox + 4, 4, 2, 192, RGB(200, 170, 90));
    Fill(s, ox + 194, 4, 2, 192, RGB(200, 170, 90));
    Text(s, ox + 100, 26, 24, RGB(240, 230, 200), "ヴェルトレーン");
    Fill(s, ox + 42, 73, 116, 56, lit ? RGB(255, 220, 120) : RGB(200, 170, 90));
    Fill(s, ox + 45, 76, 110, 50, lit ? RGB(120, 60, 20) : RGB(40, 30, 60));
    Text(s, ox + 100, 89, 22, lit ? RGB(255, 240, 200) : RGB(220, 210, 190), "はじめる");
    Text(s, ox + 100, 150, 14, RGB(150, 150, 180), "Veltrane Ver0.10");
}

Surface* Make_start() {
    Surface* s = CreateSurface(600, 200);
    Start_cell(s, 0, false);
    Start_cell(s, 200, true);
    return s;
}

// The program icon: a quill-gold "V" on a deep blue tile.
Surface* Make_icon() {
    Surface* s = CreateSurface(32, 32);
    for (int y = 0; y < 32; y++) {
        for (int x = 0; x < 32; x++) {
            bool edge = x == 0 || y == 0 || x == 31 || y == 31;
            Put(s, x, y, edge ? Pixel(10, 14, 40) : Pixel(24, 32 + y, 90 + y * 2));
            double d1 = std::fabs((x - 6) * 0.8 - (y - 5) * 0.36), d2 = std::fabs((25 - x) * 0.8 - (y - 5) * 0.36);
            if (y >= 5 && y <= 27 && (d1 < 1.6 || d2 < 1.6)) Put(s, x, y, Pixel(250, 210, 110));
        }
    }
    return s;
}

bool Save(Surface* s, const std::string& path) {
    bool ok = s && Write_bmp(s, path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    DeleteSurface(s);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrane-assets ROOT\n");
        return 2;
    }
    std::string root = argv[1];
    Surface* black = CreateSurface(640, 480);
    bool ok = Save(Make_parts(), root + "/demo/gdat/Parts.bgh");
    ok &= Save(black, root + "/demo/gdat/back_black.bgh");
    ok &= Save(Make_start(), root + "/demo/gdat/start.bgh");
    ok &= Save(Make_icon(), root + "/data/veltrane-icon.bmp");
    return ok ? 0 : 1;
}
