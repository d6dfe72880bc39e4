// The named surfaces scripts draw on, image loading, presenting and filling.
#include "core.h"

#include <cstring>

Surface* Surface_create(int width, int height) { return CreateSurface(width, height); }

Surface* Surface_needed(int width, int height, const char* caption) {
    Surface* surface = Surface_create(width, height);
    if (!surface) Msg_box(Sjis("作業用の画面が作れません（メモリ不足かも･･･）"), caption);
    return surface;
}

void Surface_destroy(Surface* surface) { DeleteSurface(surface); }

void Surfaces_free() {
    for (const Surface_slot& slot : surface_slots) {
        Surface_destroy(game.*slot.surface);
        game.*slot.surface = nullptr;
    }
}

int Load_Bmp(Surface* target, const char* path) {
    Surface* image = LoadImage(path);
    if (!image) {
        Msg_box_about(Sjis("画像読み込みに失敗しました"), "Load_Bmp()", path);
        return 0;
    }
    // always 640 x 480: a smaller target keeps its own top-left part of the image
    BitBlt(target, 0, 0, SCREEN_W, SCREEN_H, image, 0, 0, SRCCOPY);
    DeleteSurface(image);
    return 1;
}

Surface* Get_game_DC(const char* name) {
    for (const Named_surface& s : NAMED_SURFACES)
        if (std::strcmp(name, s.name) == 0) return game.*s.surface;
    Msg_box_arg(Sjis("シンボル [%s] は意味不明ですぅ（爆）\n暴走したら恐いので強制終了ですぅ～♪"), name,
                "Get_game_DC()");
    Game_end();
    return game.bs_surface;
}

void Present() {
    if (!game.bs_surface || !game.window_dc) return;
    BitBlt(game.window_dc, 0, 0, SCREEN_W, SCREEN_H, game.bs_surface, 0, 0, SRCCOPY);
    game.present_version = game.bs_surface->version;
}

void Fill_rect(Surface* dc, int left, int top, int right, int bottom, COLORREF color) {
    Brush* brush = CreateSolidBrush(color);
    if (!brush) {
        Msg_box("brush lost", "Error");
        return;
    }
    const Brush* previous = SelectObject(dc, brush);
    PatBlt(dc, left, top, right - left, bottom - top, PATCOPY);
    SelectObject(dc, previous);
    DeleteObject(brush);
}
