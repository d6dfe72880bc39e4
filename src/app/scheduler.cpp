// Game_tick: the task of every mode that is on, in a fixed order, then the present rule.
#include "app.h"
#include "gfx.h"
#include "interact.h"
#include "script.h"

#include <algorithm>

namespace {

// When a task next has work: its interval from its start tick. A task that only answers input
// (a choice, a start menu once held, a halt) has none.
struct Due {
    DWORD start, interval;
};
constexpr Due NONE{0, INFINITE};

Due Text_due() { return {game.text_tick, (DWORD)game.text_wait}; }
Due Delay_due() { return {game.delay_tick, game.delay_ms < 0 ? 0u : (DWORD)game.delay_ms}; }
Due Blink_due() { return {game.blink_tick, game.blink_interval}; }
Due Change_due() { return {game.change_tick, game.change_interval}; }
Due Fade_due() { return {game.fade_tick, FADE_INTERVAL}; }
Due Menu_due() { return Tick_elapsed(game.menu_tick, MENU_HOLD) ? NONE : Due{game.menu_tick, MENU_HOLD}; }
Due Never() { return NONE; }

// A mode's flag, the value that means on, its task and when the task has work.
struct Task_slot {
    int GameState::*flag;
    int on;
    int (*task)();
    Due (*due)();
};

const Task_slot task_slots[] = {
    {&GameState::text_run, 1, Tick_text, Text_due},
    {&GameState::delay_run, 1, Tick_delay, Delay_due},
    {&GameState::wait_run, 1, Tick_wait, Blink_due},
    {&GameState::halt_run, 1, Tick_halt, Never},
    {&GameState::page_run, 1, Tick_page, Blink_due},
    {&GameState::change_run, 1, Tick_change, Change_due},
    {&GameState::select_run, 1, Tick_select, Never},
    {&GameState::fade_out_run, 1, Tick_fade_out, Fade_due},
    {&GameState::fade_in_run, 1, Tick_fade_in, Fade_due},
    {&GameState::menu_state, MENU_SHOWN, Tick_menu, Menu_due},
};

// Milliseconds from now until due comes; 0 when it has.
DWORD Until(DWORD now, Due due) {
    if (due.interval == INFINITE) return INFINITE;
    DWORD passed = now - due.start;
    return passed >= due.interval ? 0 : due.interval - passed;
}

} // namespace

void Game_tick() {
    // each flag is read at its own test, so a mode switched on by an earlier task runs this pass
    for (const Task_slot& slot : task_slots)
        if (game.*slot.flag == slot.on) slot.task();
    // unsigned differences keep the rule working across the wrap of the tick counter
    DWORD now = GetTickCount();
    if (now - game.present_tick >= PRESENT_INTERVAL) {
        game.present_tick = GetTickCount();
        Present();
    }
}

DWORD Next_due() {
    DWORD now = GetTickCount(), next = INFINITE;
    for (const Task_slot& slot : task_slots)
        if (game.*slot.flag == slot.on) next = std::min(next, Until(now, slot.due()));
    // a picture drawn since the last present is shown at the next present
    if (game.bs_surface && game.bs_surface->version != game.present_version)
        next = std::min(next, Until(now, Due{game.present_tick, PRESENT_INTERVAL}));
    return next;
}

void Skip_idle_presents() {
    // a picture not yet shown is due now: the wait may have woken a little late for it
    if (game.bs_surface && game.bs_surface->version != game.present_version) return;
    DWORD since = GetTickCount() - game.present_tick;
    if (since > PRESENT_INTERVAL) game.present_tick += PRESENT_INTERVAL * ((since - 1) / PRESENT_INTERVAL);
}
