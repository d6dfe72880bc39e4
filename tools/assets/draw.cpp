// Drawing helpers for the asset generator.
#include "draw.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

uint32_t Mix(uint32_t a, uint32_t b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto ch = [&](int shift) {
        return (int)std::lround((a >> shift & 0xFF) * (1 - t) + (b >> shift & 0xFF) * t);
    };
    return Pixel(ch(16), ch(8), ch(0));
}

void Put(Surface* s, int x, int y, uint32_t p) {
    if (x >= 0 && y >= 0 && x < s->width && y < s->height) s->pixels[y * s->width + x] = p;
}

void Fill(Surface* s, int x, int y, int w, int h, COLORREF color) {
    Brush brush{color};
    const Brush* previous = SelectObject(s, &brush);
    PatBlt(s, x, y, w, h, PATCOPY);
    SelectObject(s, previous);
}

void Gradient(Surface* s, int y0, int y1, uint32_t top, uint32_t bottom) {
    for (int y = y0; y < y1; y++)
        for (int x = 0; x < s->width; x++)
            Put(s, x, y, Mix(top, bottom, (double)(y - y0) / std::max(1, y1 - y0 - 1)));
}

void Disc(Surface* s, int cx, int cy, double r, uint32_t p, double soft) {
    int reach = (int)(r + soft) + 1;
    for (int y = cy - reach; y <= cy + reach; y++)
        for (int x = cx - reach; x <= cx + reach; x++) {
            if (x < 0 || y < 0 || x >= s->width || y >= s->height) continue;
            double d = std::hypot(x - cx, y - cy);
            if (d <= r)
                Put(s, x, y, p);
            else if (d < r + soft)
                Put(s, x, y, Mix(s->pixels[y * s->width + x], p, (r + soft - d) / soft));
        }
}

void Shade(Surface* s, int x, int y, int w, int h, uint32_t p, double t) {
    for (int yy = std::max(y, 0); yy < std::min(y + h, s->height); yy++)
        for (int xx = std::max(x, 0); xx < std::min(x + w, s->width); xx++) {
            uint32_t& pixel = s->pixels[yy * s->width + xx];
            pixel = Mix(pixel, p, t);
        }
}

namespace {

Font* Story_face(int height) { return CreateFont(height, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET); }

} // namespace

void Text(Surface* s, int x, int y, int height, COLORREF color, const char* utf8) {
    std::string cp932 = Utf8_to_cp932(utf8);
    Font* font = Story_face(height);
    Font* previous = SelectObject(s, font);
    SetBkMode(s, TRANSPARENT);
    SetTextColor(s, color);
    int w = GetTextExtent(font, cp932.data(), (int)cp932.size());
    TextOut(s, x - w / 2, y, cp932.data(), (int)cp932.size());
    SelectObject(s, previous);
    DeleteObject(font);
}

int Text_width(int height, const char* utf8) {
    std::string cp932 = Utf8_to_cp932(utf8);
    Font* font = Story_face(height);
    int w = GetTextExtent(font, cp932.data(), (int)cp932.size());
    DeleteObject(font);
    return w;
}

bool Write_bmp(const Surface* s, const std::string& path, bool create_only) {
    FILE* f = std::fopen(path.c_str(), create_only ? "wbx" : "wb");
    if (!f) return false;
    int row = (s->width * 3 + 3) / 4 * 4;
    uint32_t data = (uint32_t)row * s->height, size = 54 + data;
    auto u16 = [&](uint32_t v) {
        std::fputc(v & 0xFF, f);
        std::fputc(v >> 8 & 0xFF, f);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    std::fputs("BM", f);
    for (uint32_t v : {size, 0u, 54u, 40u, (uint32_t)s->width, (uint32_t)s->height}) u32(v);
    u16(1);
    u16(24);
    for (uint32_t v : {0u, data, 2835u, 2835u, 0u, 0u}) u32(v);
    for (int y = s->height - 1; y >= 0; y--) {
        for (int x = 0; x < s->width; x++) {
            uint32_t p = s->pixels[y * s->width + x];
            std::fputc(p & 0xFF, f);
            std::fputc(p >> 8 & 0xFF, f);
            std::fputc(p >> 16 & 0xFF, f);
        }
        for (int pad = s->width * 3; pad < row; pad++) std::fputc(0, f);
    }
    return std::fclose(f) == 0;
}
