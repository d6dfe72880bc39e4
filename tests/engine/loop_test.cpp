// The loop sleeps until something is due: a story played so gives, at any moment, the very state a
// loop with a pass every ms gives, timers and picture alike.
#include "game_folder.h"

using Loop = Game_folder_test;

namespace {

// The loop as it was: a pass every ms when no message waits.
int Play_every_ms(const Instance& instance) {
    int code = 0;
    if (!Main_start(&instance, SW_SHOWNORMAL, &code)) return code;
    for (;;) {
        int turn = Main_turn(&code);
        if (turn == TURN_QUIT) return code;
        if (turn == TURN_IDLE) Sleep(1);
    }
}

} // namespace

TEST_F(Loop, ADelayABlinkATransitionAFadeAndTypingEachComeAtTheirMs) {
    Write_script(Cp("あ#delay 137\r\nい#wait\r\nう#g_change SPREAD\r\nえ#fade_out\r\nお#fade_in\r\n"
                    "#set_text_wait 7\r\nかきく#start_menu 300,200\r\nけ#wait\r\nこ#halt\r\n"));
    auto run = [&](DWORD until, bool sleeping) {
        Restart();
        Click(1000);                                                   // ends the first wait
        headless->inject(5000, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300)); // onto the start button
        headless->inject(5100, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
        headless->inject(5101, WM_LBUTTONUP, 0, MAKELPARAM(400, 300));
        Click(6000); // ends the second wait
        headless->stop_at(until);
        int code = sleeping ? WinMain(&instance, nullptr, "", SW_SHOWNORMAL) : Play_every_ms(instance);
        Skip_idle_presents(); // present_tick as the passes slept through would have left it
        const GameState& g = game;
        return std::tuple(code, headless->elapsed(), g.cur, g.text_x, g.text_y, g.text_tick, g.delay_tick,
                          g.blink_tick, g.wait_phase, g.change_tick, g.change_step, g.fade_tick,
                          g.fade_percent, g.menu_tick, g.menu_state, g.present_tick, headless->uploads(),
                          Boxes(), Frame(g.bs_surface));
    };
    for (DWORD until :
         {31u, 167u, 170u, 590u, 1001u, 1400u, 2345u, 3001u, 3700u, 3805u, 4444u, 5300u, 7000u}) {
        auto slept = run(until, true);
        EXPECT_EQ(slept, run(until, false)) << "at " << until << " ms";
        EXPECT_EQ(std::get<17>(slept), Lines{}) << until;
    }
}
