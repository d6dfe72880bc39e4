// Drawing helpers for the asset generator: pixels, fills, gradients, discs, centred text, BMP files.
#pragma once

#include "platform.h"

#include <string>

inline uint32_t Pixel(int r, int g, int b) { return (uint32_t)r << 16 | (uint32_t)g << 8 | (uint32_t)b; }
// The pixel a share t (0 to 1) of the way from a to b.
uint32_t Mix(uint32_t a, uint32_t b, double t);
void Put(Surface* s, int x, int y, uint32_t p);
void Fill(Surface* s, int x, int y, int w, int h, COLORREF color);
// Rows y0 to y1 - 1 shading from top to bottom.
void Gradient(Surface* s, int y0, int y1, uint32_t top, uint32_t bottom);
// A disc of radius r; a soft edge of width soft mixes into what is there.
void Disc(Surface* s, int cx, int cy, double r, uint32_t p, double soft = 1);
// The rectangle mixed a share t (0 to 1) of the way to p: a shade under text, over any picture.
void Shade(Surface* s, int x, int y, int w, int h, uint32_t p, double t);
// Text in the story face centred on x, top at y.
void Text(Surface* s, int x, int y, int height, COLORREF color, const char* utf8);
// The width Text gives utf8 at that height.
int Text_width(int height, const char* utf8);
// A 24-bit bottom-up BMP, the most plainly readable kind. With create_only, a file already at path
// is left alone and the result is false.
bool Write_bmp(const Surface* s, const std::string& path, bool create_only = false);

// A small repeatable random source, so that every run draws the same pictures.
struct Dice {
    uint32_t state = 12345;
    int roll(int n) { return (int)((state = state * 1103515245u + 12345u) >> 8) % n; }
};
