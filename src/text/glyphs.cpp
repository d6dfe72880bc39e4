// Characters on a surface: the shadow one pixel right and down first, then the text over it.
#include "text.h"

#include <cstring>

namespace {

// Both passes in the story face, made for this call and deleted before it returns.
int Put3D(Surface* dc, int x, int y, int height, COLORREF color, COLORREF shadow, const char* bytes,
          int length) {
    Font* font = CreateFont(height, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
    if (!font) {
        Msg_box(Sjis("フォント失敗"), Sjis("えらー"));
        return 0;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shadow);
    Font* previous = SelectObject(dc, font);
    TextOut(dc, Add32(x, 1), Add32(y, 1), bytes, length);
    SelectObject(dc, previous);
    SetTextColor(dc, color);
    previous = SelectObject(dc, font);
    TextOut(dc, x, y, bytes, length);
    SelectObject(dc, previous);
    DeleteObject(font);
    return 0;
}

} // namespace

int ChrPut3D(Surface* dc, int x, int y, int height, COLORREF color, COLORREF shadow, const char* bytes,
             int length) {
    if (length >= 3) {
        Msg_box(Sjis("２文字までにしてね"), "ChrPut3D()");
        return 0;
    }
    return Put3D(dc, x, y, height, color, shadow, bytes, length);
}

int Str_put3D(Surface* dc, int x, int y, int height, COLORREF color, COLORREF shadow, const char* text) {
    return Put3D(dc, x, y, height, color, shadow, text, (int)std::strlen(text));
}
