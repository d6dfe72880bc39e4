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

constexpr int PAGER_W = 96, PAGER_H = 20; // units

// A mouse position on the picture as a position in the room: in a small room, the window pixel it came
// from (each window pixel there maps to a picture pixel of its own, so the way back is exact).
LPARAM To_room(LPARAM lParam, const Room& room) {
    if (room.w >= SCREEN_W) return lParam;
    int x = (int16_t)(lParam & 0xFFFF), y = (int16_t)((uint32_t)lParam >> 16);
    x = (x * room.w + SCREEN_W - 1) / SCREEN_W;
    y = (y * room.h + SCREEN_H - 1) / SCREEN_H;
    return MAKELPARAM(x, y);
}

void Draw_backdrop() {
    int w = SCREEN_W, h = SCREEN_H;
    Get_client_size(game.main_window, &w, &h);
    Surface* dark = Surface_create(std::max(w, 1), std::max(h, 1));
    Set_layer(game.main_window, LAYER_BACKDROP, dark, 0, 0, BACKDROP_ALPHA);
    Surface_destroy(dark);
}

void Draw_screen(Screen& screen, int layer, const Room& room) {
    Rect area = screen.area();
    int w = (int)std::lround((area.right - area.left) * room.scale);
    int h = (int)std::lround((area.bottom - area.top) * room.scale);
    Surface* surface = Surface_create(std::max(w, 1), std::max(h, 1));
    int units = screen.font_units();
    int font_height = std::max(units, (int)std::lround(units * room.scale));
    Font* font = CreateFont(font_height, FW_NORMAL, Sjis("ＭＳ ゴシック"), SHIFTJIS_CHARSET);
    if (surface && font) {
        Canvas canvas{surface, room.scale, area, font};
        screen.draw(canvas);
        Set_layer(game.main_window, layer, surface, room.x + (int)std::lround(area.left * room.scale),
                  room.y + (int)std::lround(area.top * room.scale));
    }
    DeleteObject(font);
    Surface_destroy(surface);
}

} // namespace

Room Screen_room() {
    int w = SCREEN_W, h = SCREEN_H;
    Rect picture{0, 0, SCREEN_W, SCREEN_H};
    Get_client_size(game.main_window, &w, &h);
    Get_picture_rect(game.main_window, &picture);
    double scale = std::min((double)w / SCREEN_W, (double)h / SCREEN_H);
    if (scale >= 1) return Room{SCREEN_W, SCREEN_H, scale, picture.left, picture.top};
    return Room{picture.right - picture.left, picture.bottom - picture.top, 1.0, picture.left, picture.top};
}

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

int Canvas::extent(const std::string& bytes) const {
    return (int)std::ceil(GetTextExtent(font, bytes.data(), (int)bytes.size()) / scale);
}

std::string Canvas::fitting(int width, std::initializer_list<const char*> texts) const {
    for (const char* text : texts)
        if (extent(text) <= width) return text;
    return *(texts.end() - 1);
}

void Pager::draw(Canvas& canvas, int page, int pages, COLORREF color) const {
    std::string text = Sjis("＜ ") + std::to_string(page + 1) + "/" + std::to_string(pages) + Sjis(" ＞");
    canvas.text(right - (PAGER_W + canvas.extent(text)) / 2, top + (PAGER_H - SCREEN_FONT) / 2, text, color);
}

int Pager::turn(int x, int y) const {
    if (x < right - PAGER_W || x >= right || y < top || y >= top + PAGER_H) return 0;
    return x < right - PAGER_W / 2 ? -1 : 1;
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
    Room room = Screen_room();
    Draw_backdrop();
    for (size_t i = 0; i < screens.size(); i++) Draw_screen(*screens[i], LAYER_SCREEN + (int)i, room);
}

bool Screen_input(UINT message, WPARAM wParam, LPARAM lParam) {
    if (screens.empty() || !Is_input(message)) return false;
    bool mouse = message >= WM_MOUSEMOVE;
    screens.back()->input(message, wParam, mouse ? To_room(lParam, Screen_room()) : lParam);
    closed.clear();
    return true;
}
