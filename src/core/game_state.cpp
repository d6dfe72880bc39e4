// The one GameState, the start values that start-up puts into it, and the tick helpers.
#include "core.h"

#include <cstring>

GameState game;
Observer* observer = nullptr;

void Text_defaults() {
    game.font_size = 20;
    game.area_left = 20;
    game.area_top = 20;
    game.text_x = 20;
    game.text_y = 20;
    std::memset(game.flags, 0, sizeof game.flags);
    game.text_wait = 30;
    game.area_right = 620;
    game.area_bottom = 460;
    game.char_width = 10;
    game.line_height = 26;
    game.text_color = 0x00FFFFFF;
    game.shadow_color = 0x001E1E1E;
}

void Input_reset() {
    game.mouse_buttons = 0;
    game.mouse_x = 0;
    game.mouse_y = 0;
}

int Tick_elapsed(DWORD start, DWORD interval) { return GetTickCount() - start >= interval ? 1 : 0; }

int Tick_mark(DWORD* tick) {
    *tick = GetTickCount();
    return 0;
}
