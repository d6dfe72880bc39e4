// The text settings commands: size, area, typing speed and colours. Each reads all its numbers
// before it checks any, and a refused value changes nothing.
#include "text.h"

int Com_set_font_size() {
    Cur_forward(1);
    int n = Read_num();
    game.font_size = n;
    game.char_width = n / 2;
    game.line_height = Mul32(n, 130) / 100;
    return 0;
}

int Com_set_text_area() {
    Cur_forward(1);
    int v[4];
    for (int i = 0; i < 4; i++) {
        if (i > 0) Skip_list_gap();
        v[i] = Read_num();
    }
    int left = v[0], top = v[1], right = v[2], bottom = v[3];
    if ((int64_t)right - left < 4LL * game.font_size) {
        Msg_box(Sjis("幅が狭いよ～ん"), "Com_set_text_area()");
    } else if ((int64_t)bottom - top < game.font_size) {
        Msg_box(Sjis("高さが狭いよ～ん"), "Com_set_text_area()");
    } else {
        game.area_left = game.text_x = left;
        game.area_top = game.text_y = top;
        game.area_right = right;
        game.area_bottom = bottom;
    }
    return 0;
}

int Com_set_text_wait() {
    Cur_forward(1);
    int n = Read_num();
    if (n < 0)
        Msg_box(Sjis("マイナスは駄目よ～ん"), "Com_set_text_wait()");
    else if (n > TEXT_WAIT_MAX)
        Msg_box(Sjis("５秒以内にしてねん♪"), "Com_set_text_wait()");
    else
        game.text_wait = n;
    return 0;
}

int Com_set_text_color() {
    Cur_forward(1);
    int v[6];
    bool valid = true;
    for (int i = 0; i < 6; i++) {
        if (i > 0) Skip_list_gap();
        v[i] = Read_num();
        valid = valid && v[i] >= 0 && v[i] <= COLOUR_MAX;
    }
    if (!valid) {
        Msg_box(Sjis("指定可能な数値は各色 0-255 です"), "Com_set_text_color()");
        return 0;
    }
    game.text_color = RGB(v[0], v[1], v[2]);
    game.shadow_color = RGB(v[3], v[4], v[5]);
    return 0;
}
