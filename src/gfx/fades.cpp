// fade_out and fade_in: BS blended towards black or towards BG in 21 steps of 5 percent, one every
// 50 ms, while the script waits; at the end typing resumes at the text area's top-left corner.
#include "gfx.h"

namespace {

void Fade_start(int& flag) {
    game.wait_run = 0;
    Text_pause(flag);
    game.fade_percent = 0;
    Tick_mark(&game.fade_tick);
}

// One blend of source over BS; true once the last (fully opaque) blend is made.
bool Fade_step(const Surface* source) {
    if (!Tick_elapsed(game.fade_tick, FADE_INTERVAL)) return false;
    Tick_mark(&game.fade_tick);
    AlphaBlend(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, source, 0, 0, SCREEN_W, SCREEN_H,
               Blend_percent(game.fade_percent));
    game.fade_percent += 5;
    return game.fade_percent > 100;
}

void Fade_finish(int& flag, const Surface* source) {
    game.wait_run = 0;
    Text_resume(flag);
    game.text_x = game.area_left;
    game.text_y = game.area_top;
    BitBlt(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, source, 0, 0, SRCCOPY);
}

} // namespace

int Com_fade_out() {
    Cur_forward(1);
    game.fade_surface = Surface_needed(SCREEN_W, SCREEN_H, "Com_fade_out()");
    if (!game.fade_surface) return 0; // no fade: the script goes on
    Fill_rect(game.fade_surface, 0, 0, SCREEN_W, SCREEN_H, 0);
    Fade_start(game.fade_out_run);
    return 0;
}

int Com_fade_in() {
    Cur_forward(1);
    Fade_start(game.fade_in_run);
    return 0;
}

int Tick_fade_out() {
    if (!Fade_step(game.fade_surface)) return 0;
    Fade_finish(game.fade_out_run, game.fade_surface);
    Surface_destroy(game.fade_surface);
    game.fade_surface = nullptr;
    return 0;
}

int Tick_fade_in() {
    if (Fade_step(game.bg_surface)) Fade_finish(game.fade_in_run, game.bg_surface);
    return 0;
}
