// A desktop short of memory: a refused surface or font is told, and the story goes on without it.
#include "game_folder.h"

using Failures = Script_test;

TEST_F(Failures, ACommandWhoseSurfaceIsRefusedSaysSoAndTheStoryGoesOn) {
    // the script, which of its surfaces is refused; typing goes on with "E" (a choice passes over
    // its branches to the block's end)
    const std::tuple<std::string, int, std::string> cases[] = {
        {"#select3 {\r\none\r\ntwo\r\nthree\r\n/X/Y/Z}\r\nE", 1, "Com_select3() "},
        {"#select3 {\r\none\r\ntwo\r\nthree\r\n/X/Y/Z}\r\nE", 2, "Com_select3() "},
        {"#start_menu 100,100\r\nE", 1, "Menu_start()"},
        {"#fade_out\r\nE", 1, "Com_fade_out()"},
    };
    for (const auto& [script, nth, caption] : cases) {
        SCOPED_TRACE(script + " " + std::to_string(nth));
        Restart();
        Load(script);
        headless->fail_surface(nth);
        Step(40);
        EXPECT_EQ(Boxes(), Lines{caption + "|作業用の画面が作れません（メモリ不足かも･･･）"});
        // "E" typed, and nothing else
        EXPECT_EQ(std::tuple(game.select_run, game.menu_state, game.fade_out_run, game.halt_run, game.text_x),
                  std::tuple(0, 0, 0, 1, 30));
        EXPECT_EQ(std::tuple(game.select_normal, game.select_hilite, game.menu_surface, game.fade_surface),
                  std::tuple(nullptr, nullptr, nullptr, nullptr));
        EXPECT_GT(Ink(20, 20, 10, 20), 0);
    }
}

TEST_F(Failures, ACharacterWhoseFontIsRefusedIsToldAndLeftOutAndTheNextIsDrawn) {
    Load("AB");
    headless->fail_font(1);
    Step(3);
    EXPECT_EQ(Boxes(), Lines{"えらー|フォント失敗"});
    EXPECT_EQ(std::tuple(game.text_x, game.halt_run), std::tuple(40, 1));
    EXPECT_EQ(Ink(20, 20, 10, 26), 0);
    EXPECT_GT(Ink(30, 20, 10, 26), 0);
}
