// The pauses: timed delays, click-waits and page-waits with the blinking cursor from PT, halting,
// and clearing the page.
#include "interact.h"

namespace {

constexpr int CELL = 25; // the cursor's cells in PT: sprite at x 0, mask at 25, save slot at 50

void Save_background() {
    BitBlt(game.pt_surface, 2 * CELL, 0, CELL, CELL, game.bs_surface, game.text_x, game.text_y, SRCCOPY);
}

void Show_cursor() {
    BitBlt(game.bs_surface, game.text_x, game.text_y, CELL, CELL, game.pt_surface, CELL, 0, SRCAND);
    BitBlt(game.bs_surface, game.text_x, game.text_y, CELL, CELL, game.pt_surface, 0, 0, SRCPAINT);
}

void Hide_cursor() {
    BitBlt(game.bs_surface, game.text_x, game.text_y, CELL, CELL, game.pt_surface, 2 * CELL, 0, SRCCOPY);
}

// Every 400 ms the cursor is hidden or shown again; phase 0 means the next blink hides it.
void Blink(int& phase) {
    if (!Tick_elapsed(game.blink_tick, game.blink_interval)) return;
    Tick_mark(&game.blink_tick);
    if (phase == 0) {
        Hide_cursor();
        phase = 1;
    } else if (phase == 1) {
        Show_cursor();
        phase = 0;
    }
}

// A click-wait or a page-wait begins: the text stops, and the cursor shows over what it covers.
void Begin_wait(int& flag) {
    Text_pause(flag);
    Save_background();
    Tick_mark(&game.blink_tick);
    Show_cursor();
}

void Clear_page() {
    BitBlt(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, game.bg_surface, 0, 0, SRCCOPY);
    game.text_x = game.area_left;
    game.text_y = game.area_top;
}

} // namespace

int Com_delay() {
    Cur_forward(1);
    game.delay_ms = Read_num();
    Text_pause(game.delay_run);
    Tick_mark(&game.delay_tick);
    return 0;
}

int Tick_delay() {
    // a negative length ends at once, as it did when the end was start plus length
    DWORD length = game.delay_ms < 0 ? 0 : (DWORD)game.delay_ms;
    if (Tick_elapsed(game.delay_tick, length)) Text_resume(game.delay_run);
    return 0;
}

int Com_wait() {
    Begin_wait(game.wait_run);
    Observe_pause(Pause::CLICK_WAIT);
    return 0;
}

int Tick_wait() {
    Blink(game.wait_phase);
    return 0;
}

int Wait_end() {
    Hide_cursor();
    Text_resume(game.wait_run);
    return 0;
}

int Com_halt() {
    Script_end();
    return 0;
}

int Tick_halt() { return 0; }

int Com_page() {
    Clear_page();
    return 0;
}

int Page_start() {
    Begin_wait(game.page_run);
    Observe_pause(Pause::PAGE_WAIT);
    return 0;
}

int Tick_page() {
    Blink(game.page_phase);
    return 0;
}

int Page_end() {
    Text_resume(game.page_run);
    Clear_page();
    return 0;
}
