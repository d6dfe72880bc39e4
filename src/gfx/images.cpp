// The image commands: g_load draws a picture file onto a surface, g_copy copies a rectangle,
// alpha_copy blends one with a constant opacity.
#include "gfx.h"

#include <cstdio>

namespace {

// The arguments of g_copy and alpha_copy, as read: destination, then source, then the size.
struct Copy_args {
    char dest[256];
    int dx, dy;
    char src[256];
    int sx, sy, w, h;
};

// A word copied out of the reader's buffer, cut to the room it has.
void Read_name(char* out, size_t room) { std::snprintf(out, room, "%s", Read_word()); }

// cur on the byte after the command word; leaves it on the byte that ended h.
Copy_args Read_copy_args() {
    Copy_args a;
    Read_name(a.dest, sizeof a.dest);
    int* before_src[] = {&a.dx, &a.dy};
    for (int* n : before_src) {
        Skip_list_gap();
        *n = Read_num();
    }
    Skip_list_gap();
    Read_name(a.src, sizeof a.src);
    int* after_src[] = {&a.sx, &a.sy, &a.w, &a.h};
    for (int* n : after_src) {
        Skip_list_gap();
        *n = Read_num();
    }
    return a;
}

} // namespace

BLENDFUNCTION Blend_percent(int percent) {
    return BLENDFUNCTION{AC_SRC_OVER, 0, (uint8_t)(Mul32(percent, 255) / 100), 0};
}

int Com_g_load() {
    Cur_forward(1);
    char name[32];
    Read_name(name, sizeof name);
    Skip_list_gap();
    char path[256];
    std::snprintf(path, sizeof path, ".\\gdat\\%s", Read_word());
    Load_Bmp(Get_game_DC(name), path);
    return 0;
}

int Com_g_copy() {
    Cur_forward(1);
    Copy_args a = Read_copy_args();
    Surface* src = Get_game_DC(a.src);
    Surface* dest = Get_game_DC(a.dest);
    BitBlt(dest, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, SRCCOPY);
    return 0;
}

int Com_alpha_copy() {
    Cur_forward(1);
    Copy_args a = Read_copy_args();
    Skip_list_gap();
    BLENDFUNCTION blend = Blend_percent(Read_num());
    Surface* src = Get_game_DC(a.src);
    Surface* dest = Get_game_DC(a.dest);
    AlphaBlend(dest, a.dx, a.dy, a.w, a.h, src, a.sx, a.sy, a.w, a.h, blend);
    return 0;
}
