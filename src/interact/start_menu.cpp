// start_menu: a 200 x 200 picture with one start button on BS, held until the button is picked;
// the square it covered is then restored exactly.
#include "interact.h"

namespace {

void Show_cell(int x) {
    BitBlt(game.bs_surface, game.menu_x, game.menu_y, game.menu_w, game.menu_h, game.menu_surface, x, 0,
           SRCCOPY);
}

} // namespace

int Com_start_menu() {
    Cur_forward(1);
    game.menu_arg_x = Read_num();
    Skip_list_gap();
    game.menu_arg_y = Read_num();
    Skip_list_gap();
    Menu_start();
    return 0;
}

int Menu_start() {
    if (game.menu_state == MENU_SHOWN) return 0;
    if (!Tick_elapsed(game.menu_tick, MENU_HOLD)) return 0;
    game.menu_w = game.menu_h = 200;
    game.menu_x = game.menu_arg_x;
    game.menu_y = game.menu_arg_y;
    game.menu_save_x = 400;
    game.menu_save_y = 0;
    game.menu_button = START_BUTTON;
    game.menu_surface = Surface_needed(START_PICTURE.width, START_PICTURE.height, "Menu_start()");
    if (!game.menu_surface) return 0; // no menu: typing goes on
    Load_Bmp(game.menu_surface, START_PICTURE.path);
    BitBlt(game.menu_surface, game.menu_save_x, game.menu_save_y, game.menu_w, game.menu_h, game.bs_surface,
           game.menu_x, game.menu_y, SRCCOPY);
    Show_cell(0);
    game.wait_run = 0;
    Text_pause(game.menu_state, MENU_SHOWN);
    Tick_mark(&game.menu_tick);
    Observe_pause(Pause::START_MENU);
    return 0;
}

int Tick_menu() {
    if (!Tick_elapsed(game.menu_tick, MENU_HOLD)) return 0;
    const Rect& b = game.menu_button;
    Rect hit = Rect_offset(b.left, b.top, b.right, b.bottom, game.menu_x, game.menu_y);
    bool picked = false;
    if (Pt_in_rect(hit.left, hit.top, hit.right, hit.bottom)) {
        Show_cell(200);
        picked = game.mouse_buttons == MK_LBUTTON;
    } else {
        Show_cell(0);
    }
    if (picked) Menu_end();
    return 0;
}

int Menu_end() {
    Show_cell(game.menu_save_x);
    Surface_destroy(game.menu_surface);
    game.menu_surface = nullptr;
    game.wait_run = 0;
    Text_resume(game.menu_state);
    Tick_mark(&game.menu_tick);
    return 0;
}
