// Game_tick: the task of every mode that is on, in a fixed order, then the present rule.
#include "app.h"
#include "gfx.h"
#include "interact.h"
#include "script.h"

namespace {

// A mode's flag, the value that means on, and its task.
struct Task_slot {
    int GameState::*flag;
    int on;
    int (*task)();
};

const Task_slot task_slots[] = {
    {&GameState::text_run, 1, Tick_text},       {&GameState::delay_run, 1, Tick_delay},
    {&GameState::wait_run, 1, Tick_wait},       {&GameState::halt_run, 1, Tick_halt},
    {&GameState::page_run, 1, Tick_page},       {&GameState::change_run, 1, Tick_change},
    {&GameState::select_run, 1, Tick_select},   {&GameState::fade_out_run, 1, Tick_fade_out},
    {&GameState::fade_in_run, 1, Tick_fade_in}, {&GameState::menu_state, MENU_SHOWN, Tick_menu},
};

} // namespace

void Game_tick() {
    // each flag is read at its own test, so a mode switched on by an earlier task runs this pass
    for (const Task_slot& slot : task_slots)
        if (game.*slot.flag == slot.on) slot.task();
    // unsigned differences keep the rule working across the wrap of the tick counter
    DWORD now = GetTickCount();
    if (now - game.present_tick > 12) {
        game.present_tick = GetTickCount();
        Present();
    }
}
