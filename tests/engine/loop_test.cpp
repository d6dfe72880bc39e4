// The loop sleeps until something is due, and still gives at any ms the state a pass every ms gives (a
// button held when the start menu's hold ends: golden/menus.golden).
#include "game_folder.h"
#include "state_lines.h"

using Loop = Game_folder_test;

namespace {

// The loop as it was: a pass every ms when no message waits.
int Play_every_ms(const Instance& instance) {
    int code = 0;
    if (!Main_start(&instance, SW_SHOWNORMAL, &code, WndProc)) return code;
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
        // clicks end the two waits and the start button is picked between; the first click is never let
        // go, so the later events come in a call of their own, which starts with no button held
        Events("1000 ldown 0 0\n");
        Events("5000 move 400 300\n5100 ldown 400 300\n5101 lup 400 300\n6000 ldown 0 0\n");
        headless->stop_at(until);
        int code = sleeping ? WinMain(&instance, nullptr, "", SW_SHOWNORMAL) : Play_every_ms(instance);
        Skip_idle_presents(); // present_tick as the passes slept through would have left it
        return std::tuple(code, headless->elapsed(), State_lines::Of_game(), headless->uploads(), Boxes());
    };
    for (DWORD until :
         {31u, 167u, 170u, 590u, 1001u, 1400u, 2345u, 3001u, 3700u, 3805u, 4444u, 5300u, 7000u}) {
        auto slept = run(until, true);
        EXPECT_EQ(slept, run(until, false)) << "at " << until << " ms";
        EXPECT_EQ(std::get<4>(slept), Lines{}) << until;
    }
}
