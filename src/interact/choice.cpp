// select3: three choice lines under the text, the one under the pointer highlighted, and a left
// press on one moves the script into its branch.
#include "interact.h"
#include "text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr COLORREF NORMAL_COLOR = 0x0064FFFF;
constexpr COLORREF HILITE_COLOR = 0x003232FF;

void Skip_blank_bytes() {
    while (game.cur < SCRIPT_LAST && Script_at(game.cur) <= 0x20) game.cur++;
}

void Copy_rect(Surface* dst, const Surface* src, const Rect& r) {
    BitBlt(dst, r.left, r.top, r.right - r.left, r.bottom - r.top, src, r.left, r.top, SRCCOPY);
}

void Close_menu() {
    Surface_destroy(game.select_normal);
    Surface_destroy(game.select_hilite);
    game.select_normal = game.select_hilite = nullptr;
}

// Lays out and draws choice k on both surfaces; top is the line's top.
void Put_choice(int k, const char* text, int top) {
    int left = Add32(game.area_left, 20);
    int right = Add32(left, Mul32(game.char_width, (int)std::strlen(text) + 3));
    Rect r = Rect_make(left, top, right, Add32(top, game.line_height));
    game.choice_rect[k] = r;
    game.text_x = left;
    game.text_y = top;
    Copy_rect(game.select_normal, game.bs_surface, r);
    Copy_rect(game.select_hilite, game.bs_surface, r);
    Str_put3D(game.select_normal, left, top, game.font_size, NORMAL_COLOR, 0, text);
    Str_put3D(game.select_hilite, left, top, game.font_size, HILITE_COLOR, 0, text);
}

} // namespace

int Com_select3() {
    if (Add32(game.text_y, Mul32(5, game.line_height)) > game.area_bottom) {
        if (observer) observer->no_room();
        Msg_box(Sjis("選択肢を表示するだけの画面の余裕がありません（T0T）\n"
                     "そんな訳で、すぱっといさぎよく強制終了～♪"),
                "Com_select3() ");
        Game_end();
        return 0;
    }
    if (!Enter_block()) return 0;
    char choices[3][256];
    for (auto& choice : choices) {
        Skip_blank_bytes();
        std::snprintf(choice, sizeof choice, "%s", Read_line());
    }
    game.select_normal = Surface_needed(SCREEN_W, SCREEN_H, "Com_select3() ");
    game.select_hilite = Surface_needed(SCREEN_W, SCREEN_H, "Com_select3() ");
    if (!game.select_normal || !game.select_hilite) {
        Close_menu(); // no menu: the stepper passes over the branches to the block's end
        return 0;
    }
    int top = Add32(game.text_y, Mul32(3, game.line_height) / 2);
    for (int k = 0; k < 3; k++, top = Add32(top, game.line_height)) Put_choice(k, choices[k], top);
    game.text_x = game.area_left;
    game.text_y = Add32(game.choice_rect[2].top, Mul32(3, game.line_height) / 2);
    for (const Rect& r : game.choice_rect) Copy_rect(game.bs_surface, game.select_normal, r);
    Text_pause(game.select_run);
    if (observer) {
        const char* lines[3] = {choices[0], choices[1], choices[2]};
        observer->offered(lines);
    }
    Observe_pause(Pause::CHOICE);
    return 0;
}

int Tick_select() {
    int picked = 0;
    for (int k = 0; k < 3; k++) {
        const Rect& r = game.choice_rect[k];
        if (Pt_in_rect(r.left, r.top, r.right, r.bottom)) {
            Copy_rect(game.bs_surface, game.select_hilite, r);
            if (game.mouse_buttons == MK_LBUTTON) picked = k + 1;
        } else {
            Copy_rect(game.bs_surface, game.select_normal, r);
        }
    }
    if (!picked) return 0;
    if (observer) observer->chose(picked);
    // a branch search that runs off the script halts it, and typing does not resume
    for (int i = 0; i < picked && !game.halt_run; i++) Skip_branch();
    if (game.halt_run)
        game.select_run = game.text_run = 0;
    else
        Text_resume(game.select_run);
    Close_menu();
    return 0;
}
