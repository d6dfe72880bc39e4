// Text speed: the engine steps the text once text_wait has passed since text_tick, its last step;
// the reader sets text_tick so that the step falls at the reader's own interval instead.
#include "typing.h"
#include "keys.h"
#include "script.h"

#include <algorithm>

namespace {

DWORD written = 0;       // the text_tick the reader last set: any other value is a step's time
DWORD last_step = 0;     // when the engine last stepped the text
bool completing = false; // the rest of the page is being shown at once

// The interval between two steps at the reader's speed: the script's, halved, quartered or doubled.
DWORD Interval() {
    DWORD wait = (DWORD)game.text_wait;
    switch (reader.settings.text_speed) {
    case Text_speed::SLOWER:
        return wait * 2;
    case Text_speed::FASTER:
        return wait / 2;
    case Text_speed::FASTEST:
        return wait / 4;
    default:
        return wait;
    }
}

bool Paced() {
    return game.text_run == 1 && game.text_wait > 0 && reader.settings.text_speed != Text_speed::SCRIPT &&
           reader.settings.text_speed != Text_speed::INSTANT;
}

} // namespace

void Type_at_once() {
    // every step finds its wait already over
    for (int i = 0; i < SKIP_STEPS && game.text_run == 1; i++) {
        game.text_tick = GetTickCount() - (DWORD)game.text_wait;
        Tick_text();
    }
}

void Typing_tick() {
    if (game.text_run != 1) completing = false;
    if (completing || (game.text_run == 1 && reader.settings.text_speed == Text_speed::INSTANT)) {
        Type_at_once();
        completing = false;
        return;
    }
    if (!Paced()) return;
    if (game.text_tick != written) last_step = game.text_tick;
    // a start in the future would count as long past: a slower step waits from now at most
    DWORD now = GetTickCount(), start = last_step + Interval() - (DWORD)game.text_wait;
    game.text_tick = written = (int32_t)(start - now) > 0 ? now : start;
}

DWORD Typing_due() {
    if (completing || (game.text_run == 1 && reader.settings.text_speed == Text_speed::INSTANT)) return 0;
    if (!Paced()) return INFINITE;
    DWORD last = game.text_tick != written ? game.text_tick : last_step;
    DWORD passed = GetTickCount() - last, interval = Interval();
    return passed >= interval ? 0 : interval - passed;
}

bool Typing_complete(UINT message, WPARAM wParam) {
    bool click =
        message == WM_LBUTTONDOWN || (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE));
    if (!click || !reader.settings.click_completes || game.text_run != 1) return false;
    completing = true;
    return true;
}
