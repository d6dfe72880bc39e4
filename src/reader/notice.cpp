// Notices: a line of text on a dark plate over the presented picture, for two seconds, drawn in the
// window's own pixels so that it reads the same at any window size.
#include "notice.h"
#include "screens.h"

#include <algorithm>

namespace {

constexpr int MARGIN = 8;       // client pixels between the plate and the window's edges
constexpr int TEXT_HEIGHT = 16; // client pixels
constexpr int PADDING_X = 10, PADDING_Y = 5;

} // namespace

bool Plate_show(int layer, const std::string& text, bool at_right) {
    int client_w = 0, client_h = 0;
    Get_client_size(game.main_window, &client_w, &client_h);
    Font* font = CreateFont(TEXT_HEIGHT, FW_NORMAL, Sjis("ＭＳ ゴシック"), SHIFTJIS_CHARSET);
    if (!font) return false;
    int length = (int)text.size();
    // a plate wider than the window is cut at its far margin
    int width = std::min(GetTextExtent(font, text.c_str(), length) + 2 * PADDING_X, client_w - 2 * MARGIN);
    int height = GetFontHeight(font) + 2 * PADDING_Y;
    bool shown = false;
    if (Surface* plate = Surface_create(width, height)) {
        Fill_rect(plate, 0, 0, width, height, RGB(24, 24, 40));
        Font* previous = SelectObject(plate, font);
        SetTextColor(plate, RGB(255, 255, 255));
        TextOut(plate, PADDING_X, PADDING_Y, text.c_str(), length);
        SelectObject(plate, previous);
        shown =
            Set_layer(game.main_window, layer, plate, at_right ? client_w - MARGIN - width : MARGIN, MARGIN);
        Surface_destroy(plate);
    }
    DeleteObject(font);
    return shown;
}

void Notice_show(const char* text) {
    reader.notice_text = text;
    reader.notice_tick = GetTickCount();
    reader.notice_shown = true;
    Notice_redraw();
}

void Notice_redraw() {
    if (reader.notice_shown && !Plate_show(LAYER_NOTICE, reader.notice_text, false)) Notice_end();
}

void Notice_end() {
    if (!reader.notice_shown) return;
    reader.notice_shown = false;
    Set_layer(game.main_window, LAYER_NOTICE, nullptr, 0, 0);
}
