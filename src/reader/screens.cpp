// The stack of reader screens, the story held still beneath them, and their picture.
#include "screens.h"

#include <span>
#include <vector>

namespace {

std::vector<std::unique_ptr<Screen>> screens;
std::vector<std::unique_ptr<Screen>> closed; // closed during their own input: they go after it
DWORD held_since = 0;                        // when the first screen opened

// Every timer of the story moves on by the time it stood still, so each task resumes where it was.
struct Tick_shift {
    DWORD by;
    template <class T, class Kind> void operator()(const char*, T GameState::*, Kind) {}
    void operator()(const char*, DWORD GameState::*field, Field_tick) { game.*field += by; }
};

// The story's picture, dimmed, under the screens.
void Dim(Surface* picture) {
    for (uint32_t& p : std::span(picture->pixels, (size_t)picture->width * picture->height))
        p = (p >> 1) & 0x7F7F7F;
}

bool Is_input(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
           (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL);
}

} // namespace

bool Screen_open(std::unique_ptr<Screen> screen) {
    if (Box_is_open()) return false;
    if (screens.empty()) held_since = GetTickCount();
    screens.push_back(std::move(screen));
    Screen_redraw();
    return true;
}

void Screen_close() {
    if (screens.empty()) return;
    closed.push_back(std::move(screens.back()));
    screens.pop_back();
    if (!screens.empty()) return Screen_redraw();
    Tick_shift shift{GetTickCount() - held_since};
    Visit_fields(shift);
    Set_overlay(game.main_window, nullptr, 0, 0);
}

bool Screen_is_open() { return !screens.empty(); }

void Screen_redraw() {
    if (screens.empty() || !game.bs_surface) return;
    Surface* picture = Surface_create(SCREEN_W, SCREEN_H);
    if (!picture) return;
    BitBlt(picture, 0, 0, SCREEN_W, SCREEN_H, game.bs_surface, 0, 0, SRCCOPY);
    Dim(picture);
    for (auto& screen : screens) screen->draw(picture);
    Set_overlay(game.main_window, picture, 0, 0);
    Surface_destroy(picture);
}

bool Screen_input(UINT message, WPARAM wParam, LPARAM lParam) {
    if (screens.empty() || !Is_input(message)) return false;
    screens.back()->input(message, wParam, lParam);
    closed.clear();
    return true;
}
