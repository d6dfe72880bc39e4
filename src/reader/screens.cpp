// The stack of reader screens, the story held still beneath them, and their layers.
#include "screens.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int MOST_SCREENS = LAYER_INDICATOR - LAYER_SCREEN; // each its own layer, under the indicator
constexpr int BACKDROP_ALPHA = 128;                          // the picture under the screens, dimmed

std::vector<std::unique_ptr<Screen>> screens;
std::vector<std::unique_ptr<Screen>> closed; // closed during their own input: they go after it
DWORD held_since = 0;                        // when the first screen opened

// Every timer of the story moves on by the time it stood still, so each task resumes where it was.
struct Tick_shift {
    DWORD by;
    template <class T, class Kind> void operator()(const char*, T GameState::*, Kind) {}
    void operator()(const char*, DWORD GameState::*field, Field_tick) { game.*field += by; }
};

bool Is_input(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
           (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL);
}

// Where the picture lies in the client area, as the window scales it: the largest 4:3 that fits, centred.
struct Placement {
    double scale;
    int x, y;
};
Placement Place() {
    int w = SCREEN_W, h = SCREEN_H;
    Get_client_size(game.main_window, &w, &h);
    double scale = std::min((double)w / SCREEN_W, (double)h / SCREEN_H);
    return {scale, (int)std::lround((w - SCREEN_W * scale) / 2),
            (int)std::lround((h - SCREEN_H * scale) / 2)};
}

void Draw_backdrop() {
    int w = SCREEN_W, h = SCREEN_H;
    Get_client_size(game.main_window, &w, &h);
    Surface* dark = Surface_create(std::max(w, 1), std::max(h, 1));
    Set_layer(game.main_window, LAYER_BACKDROP, dark, 0, 0, BACKDROP_ALPHA);
    Surface_destroy(dark);
}

void Draw_screen(Screen& screen, int layer, const Placement& at) {
    Rect area = screen.area();
    int w = (int)std::lround((area.right - area.left) * at.scale);
    int h = (int)std::lround((area.bottom - area.top) * at.scale);
    Surface* surface = Surface_create(std::max(w, 1), std::max(h, 1));
    int font_height = std::max(SCREEN_FONT, (int)std::lround(SCREEN_FONT * at.scale));
    Font* font = CreateFont(font_height, FW_NORMAL, Sjis("ＭＳ ゴシック"), SHIFTJIS_CHARSET);
    if (surface && font) {
        Canvas canvas{surface, at.scale, area, font};
        screen.draw(canvas);
        Set_layer(game.main_window, layer, surface, at.x + (int)std::lround(area.left * at.scale),
                  at.y + (int)std::lround(area.top * at.scale));
    }
    DeleteObject(font);
    Surface_destroy(surface);
}

} // namespace

void Canvas::fill(int left, int top, int right, int bottom, COLORREF color) {
    auto x = [&](int v) { return (int)std::lround((v - area.left) * scale); };
    auto y = [&](int v) { return (int)std::lround((v - area.top) * scale); };
    Fill_rect(surface, x(left), y(top), x(right), y(bottom), color);
}

void Canvas::text(int x, int y, const std::string& bytes, COLORREF color) {
    Font* previous = SelectObject(surface, font);
    SetTextColor(surface, color);
    TextOut(surface, (int)std::lround((x - area.left) * scale), (int)std::lround((y - area.top) * scale),
            bytes.data(), (int)bytes.size());
    SelectObject(surface, previous);
}

bool Screen_open(std::unique_ptr<Screen> screen) {
    if (Box_is_open() || screens.size() >= MOST_SCREENS) return false;
    if (screens.empty()) held_since = GetTickCount();
    screens.push_back(std::move(screen));
    Screen_redraw();
    return true;
}

void Screen_close() {
    if (screens.empty()) return;
    closed.push_back(std::move(screens.back()));
    screens.pop_back();
    Set_layer(game.main_window, LAYER_SCREEN + (int)screens.size(), nullptr, 0, 0);
    if (!screens.empty()) return;
    Set_layer(game.main_window, LAYER_BACKDROP, nullptr, 0, 0);
    Tick_shift shift{GetTickCount() - held_since};
    Visit_fields(shift);
}

bool Screen_is_open() { return !screens.empty(); }

void Screens_forget() {
    screens.clear();
    closed.clear();
}

void Screen_redraw() {
    if (screens.empty()) return;
    Placement at = Place();
    Draw_backdrop();
    for (size_t i = 0; i < screens.size(); i++) Draw_screen(*screens[i], LAYER_SCREEN + (int)i, at);
}

bool Screen_input(UINT message, WPARAM wParam, LPARAM lParam) {
    if (screens.empty() || !Is_input(message)) return false;
    screens.back()->input(message, wParam, lParam);
    closed.clear();
    return true;
}
