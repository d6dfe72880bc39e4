// Notices: a line of text on a dark plate over the presented picture, for two seconds.
#include "notice.h"

#include <algorithm>
#include <cstring>

void Notice_show(const char* text) {
    Notice_end();
    Font* font = CreateFont(16, FW_NORMAL, Sjis("ＭＳ ゴシック"), SHIFTJIS_CHARSET);
    if (!font) return;
    int length = (int)std::strlen(text);
    int width = std::min(GetTextExtent(font, text, length) + 20, SCREEN_W - 16);
    int height = GetFontHeight(font) + 10;
    if (Surface* plate = Surface_create(width, height)) {
        Fill_rect(plate, 0, 0, width, height, RGB(24, 24, 40));
        Font* previous = SelectObject(plate, font);
        SetTextColor(plate, RGB(255, 255, 255));
        TextOut(plate, 10, 5, text, length);
        SelectObject(plate, previous);
        reader.notice_shown = Set_overlay(game.main_window, plate, 8, 8);
        reader.notice_tick = GetTickCount();
        Surface_destroy(plate);
    }
    DeleteObject(font);
}

void Notice_end() {
    if (!reader.notice_shown) return;
    reader.notice_shown = false;
    Set_overlay(game.main_window, nullptr, 0, 0);
}
