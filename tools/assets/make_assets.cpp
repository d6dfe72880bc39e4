// Draws the demo game's fixed pictures and the program icon, and writes them as BMP files:
//   veltrane-assets ROOT   writes ROOT/demo/gdat/{Parts,back_black,start}.bgh, the story's
//   backgrounds into ROOT/demo/gdat/, and ROOT/data/veltrane-icon.bmp with its PNG twin veltrane.png
#include "draw.h"
#include "replay/png.h"
#include "scenes.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

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
            Put(s, x, y, on ? Pixel(255, 236 - t / 4, 160 - t / 2) : 0);      // sprite on black
            Put(s, 25 + x, y, on ? 0 : Pixel(255, 255, 255));                 // mask: black under it
            Put(s, 50 + x, y, ((x / 5 + y / 5) % 2) ? Pixel(64, 64, 64) : 0); // save slot, never shown
        }
    }
    return s;
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
            double d1 = std::fabs((x - 6) * 0.8 - (y - 5) * 0.36),
                   d2 = std::fabs((25 - x) * 0.8 - (y - 5) * 0.36);
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

// The icon once more for the desktop's menus, which take PNG.
bool Save_png(Surface* s, const std::string& path) {
    std::string error;
    bool ok = s && Write_png(*s, path, &error);
    std::printf("%s %s %s\n", ok ? "wrote" : "FAILED", path.c_str(), error.c_str());
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
    ok &= Save_png(Make_icon(), root + "/data/veltrane.png");
    for (const Scene& scene : scenes) ok &= Save(scene.make(), root + "/demo/gdat/" + scene.file);
    return ok ? 0 : 1;
}
