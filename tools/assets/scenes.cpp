// The demo story's backgrounds: the title, the harbour in the rain, the slope with its shrine,
// the lighthouse, the stairs inside it and the moon in the lamp room.
#include "scenes.h"
#include "draw.h"

#include <cmath>

namespace {

constexpr int W = 640, H = 480;

// Stars inside the rectangle from (x0, y0) to (x1, y1).
void Stars(Surface* s, int count, int x0, int y0, int x1, int y1, uint32_t seed) {
    Dice dice{seed};
    for (int i = 0; i < count; i++) {
        int x = x0 + dice.roll(x1 - x0), y = y0 + dice.roll(y1 - y0), v = 120 + dice.roll(136);
        Put(s, x, y, Pixel(v, v, std::min(255, v + 30)));
    }
}

// Dark water from y down, with broken streaks of light under each lamp's x.
void Sea(Surface* s, int y, const int* lamps, int count) {
    Gradient(s, y, H, Pixel(14, 22, 44), Pixel(4, 8, 18));
    Dice dice{7};
    for (int i = 0; i < count; i++)
        for (int row = y + 4; row < H; row += 6) {
            int half = 4 + (row - y) / 12, x = lamps[i] + dice.roll(9) - 4;
            Fill(s, x - half, row, 2 * half - dice.roll(half + 1), 2, RGB(200, 160, 80));
        }
}

void Rain(Surface* s, int count) {
    Dice dice{99};
    for (int i = 0; i < count; i++) {
        int x = dice.roll(W), y = dice.roll(H), len = 8 + dice.roll(10);
        for (int k = 0; k < len; k++) {
            uint32_t& p = s->pixels[std::min(H - 1, y + k) * W + std::max(0, x - k / 4)];
            p = Mix(p, Pixel(150, 170, 200), 0.35);
        }
    }
}

// The band the story's text is typed on, from y 288 to 467 (text area 44, 300, 596, 460): darkened,
// so that white text reads over whatever the picture shows there, between two thin gold rules.
void Text_band(Surface* s) {
    Shade(s, 24, 288, 592, 180, Pixel(6, 8, 20), 0.55);
    Fill(s, 24, 288, 592, 1, RGB(170, 150, 110));
    Fill(s, 24, 467, 592, 1, RGB(170, 150, 110));
}

void Tower(Surface* s, int cx, int base, int height, int half_bottom, int half_top) {
    for (int y = base - height; y < base; y++) {
        double t = (double)(base - y) / height;
        int half = (int)std::lround(half_bottom + (half_top - half_bottom) * t);
        bool stripe = (base - y) / 40 % 2 == 1;
        for (int x = cx - half; x <= cx + half; x++) {
            double shade = 0.55 + 0.45 * (1 - std::fabs(x - cx + half / 3.0) / (half * 1.4));
            uint32_t base_colour = stripe ? Pixel(150, 40, 40) : Pixel(225, 225, 215);
            Put(s, x, y, Mix(Pixel(20, 20, 30), base_colour, shade));
        }
    }
}

Surface* Make_title() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, H, Pixel(6, 10, 34), Pixel(30, 40, 80));
    Stars(s, 260, 0, 0, W, 300, 3);
    Disc(s, 520, 170, 120, Pixel(40, 50, 90), 60); // the beam's haze
    Tower(s, 520, 430, 230, 28, 16);
    Disc(s, 520, 192, 10, Pixel(255, 240, 190), 6);
    Gradient(s, 430, H, Pixel(12, 18, 40), Pixel(2, 4, 12));
    Text(s, 260, 70, 40, RGB(240, 226, 190), "港町の灯台");
    Text(s, 260, 130, 18, RGB(170, 180, 210), "Veltrane デモ");
    return s;
}

Surface* Make_harbor() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, 320, Pixel(18, 20, 36), Pixel(50, 48, 62));
    const int lamps[] = {90, 250, 430};
    for (int x : lamps) {
        Fill(s, x - 2, 200, 4, 120, RGB(30, 30, 36));
        Disc(s, x, 196, 30, Pixel(90, 80, 60), 30);
        Disc(s, x, 196, 7, Pixel(255, 220, 150), 3);
    }
    Sea(s, 320, lamps, 3);
    Fill(s, 470, 300, 170, 22, RGB(60, 46, 36)); // the pier
    for (int x = 480; x < W; x += 36) Fill(s, x, 322, 6, 60, RGB(40, 30, 24));
    Rain(s, 900);
    Text_band(s);
    return s;
}

Surface* Make_slope() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, H, Pixel(20, 26, 44), Pixel(40, 52, 50));
    for (int x = 0; x < W; x++) { // the hill and the path climbing it
        int top = 180 + (int)(60 * std::sin(x / 130.0)) + x / 6;
        for (int y = top; y < H; y++)
            Put(s, x, y, Mix(Pixel(30, 48, 36), Pixel(10, 18, 14), (y - top) / 300.0));
        int path = 470 - x * 5 / 8;
        for (int y = std::max(top, path - 14); y < path + 14 && y < H; y++) Put(s, x, y, Pixel(92, 86, 76));
    }
    Fill(s, 120, 226, 70, 56, RGB(120, 50, 36)); // the shrine, clear of the text band
    for (int row = 0; row < 26; row++)           // the roof, widening to eaves over the walls
        Fill(s, 143 - row * 2, 200 + row, 24 + row * 4, 1, RGB(60, 40, 34));
    Fill(s, 145, 246, 20, 36, RGB(40, 20, 16));
    Rain(s, 600);
    Text_band(s);
    return s;
}

Surface* Make_lighthouse() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, H, Pixel(24, 28, 52), Pixel(60, 64, 84));
    Stars(s, 80, 0, 0, W, 200, 11);
    Disc(s, 320, 110, 140, Pixel(60, 66, 96), 90);
    Tower(s, 320, 440, 330, 70, 40);
    Fill(s, 272, 96, 96, 16, RGB(30, 30, 40));
    Disc(s, 320, 86, 18, Pixel(255, 236, 170), 10);
    Fill(s, 300, 380, 40, 60, RGB(50, 40, 40)); // the iron door
    Gradient(s, 440, H, Pixel(40, 44, 40), Pixel(20, 22, 20));
    Text_band(s);
    return s;
}

Surface* Make_stairs() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, H, Pixel(70, 46, 30), Pixel(30, 18, 12));
    for (int i = 0; i < 14; i++) { // the spiral, step by step, climbing to the right
        double a = i * 0.55;
        int x = 320 + (int)(200 * std::cos(a)), y = 440 - i * 30;
        Fill(s, x - 50, y, 100, 12, RGB(120 + i * 6, 90 + i * 4, 60));
        Fill(s, x - 50, y + 12, 100, 4, RGB(40, 26, 18));
    }
    Disc(s, 320, 20, 70, Pixel(140, 110, 70), 70); // light from above
    Text_band(s);
    return s;
}

Surface* Make_moon() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, H, Pixel(40, 34, 40), Pixel(16, 14, 18));
    Fill(s, 120, 40, 400, 330, RGB(60, 50, 40)); // the window frame and the night behind it
    for (int y = 50; y < 360; y++)
        for (int x = 130; x < 510; x++)
            Put(s, x, y, Mix(Pixel(8, 14, 40), Pixel(26, 40, 80), (y - 50) / 310.0));
    Stars(s, 120, 130, 50, 510, 360, 21);
    Disc(s, 320, 166, 100, Pixel(250, 244, 220), 14); // high in the window, above the text band
    Disc(s, 292, 138, 16, Pixel(226, 220, 200), 8);
    Disc(s, 348, 202, 24, Pixel(232, 226, 206), 8);
    Fill(s, 316, 50, 8, 310, RGB(60, 50, 40));
    Fill(s, 130, 200, 380, 8, RGB(60, 50, 40));
    Gradient(s, 370, H, Pixel(50, 40, 32), Pixel(20, 16, 12));
    Text_band(s);
    return s;
}

} // namespace

Surface* Make_first_background() {
    Surface* s = CreateSurface(W, H);
    Gradient(s, 0, 300, Pixel(16, 20, 52), Pixel(120, 86, 110)); // dusk, rose at the hills
    Stars(s, 90, 0, 0, W, 160, 5);
    Disc(s, 470, 110, 26, Pixel(250, 240, 210), 6);
    for (int x = 0; x < W; x++) { // two ranges of low hills, the nearer one darker
        int far_top = 262 + (int)(18 * std::sin(x / 90.0) + 10 * std::sin(x / 37.0));
        int near_top = 300 + (int)(22 * std::sin(x / 140.0 + 1.3));
        for (int y = far_top; y < H; y++) Put(s, x, y, Pixel(52, 48, 78));
        for (int y = near_top; y < H; y++)
            Put(s, x, y, Mix(Pixel(30, 30, 52), Pixel(14, 14, 26), (y - near_top) / 180.0));
    }
    Text_band(s);
    return s;
}

const Scene scenes[6] = {{"title.bgh", Make_title},   {"harbor.bgh", Make_harbor},
                         {"slope.bgh", Make_slope},   {"lighthouse.bgh", Make_lighthouse},
                         {"stairs.bgh", Make_stairs}, {"moon.bgh", Make_moon}};
