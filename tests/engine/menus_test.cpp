// The choice menu and the start menu: layout, hover, the pick and what it leaves behind, with the
// mouse moved by the replay tool's event lines.
#include "game_folder.h"
#include "replay/events.h"

#include <sstream>

namespace {

constexpr uint32_t NORMAL = 0xFFFF64, HILITE = 0xFF3232; // BS pixels of the two looks

class Menus : public Script_test {
  protected:
    // Event lines as veltrane-replay reads them, injected at their times.
    void Events(const std::string& lines) {
        std::istringstream in(lines);
        std::vector<Replay_event> events;
        std::string error;
        ASSERT_TRUE(Parse_event_lines(in, "events", &events, &error)) << error;
        for (const Replay_message& m : To_messages(events))
            headless->inject(m.ms, m.message, m.wParam, m.lParam);
    }

    static int Count(const Rect& r, uint32_t pixel) {
        int n = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) n += At(game.bs_surface, x, y) == pixel;
        return n;
    }

    // Which choices show highlighted, as "1", "12", "" ...; each shows one look or the other.
    static std::string Lit() {
        std::string lit;
        for (int k = 0; k < 3; k++) {
            const Rect& r = game.choice_rect[k];
            bool hilite = Count(r, HILITE) > 0, normal = Count(r, NORMAL) > 0;
            EXPECT_NE(hilite, normal) << "choice " << k + 1;
            if (hilite) lit += char('1' + k);
        }
        return lit;
    }

    // The 200 x 200 square of BS at (x, y) against a 200 x 200 cell of a picture.
    static bool Square_is(int x, int y, const Surface* picture, int px, int py) {
        for (int j = 0; j < 200; j++)
            for (int i = 0; i < 200; i++)
                if (At(game.bs_surface, x + i, y + j) != At(picture, px + i, py + j)) return false;
        return true;
    }
};

const std::string CHOICES = "#select3 {\r\nABCDEFGH\r\n\r\n  ABCDEFGHIJKL\r\nABCD\r\n";

} // namespace

TEST_F(Menus, ChoiceLayoutRoomTestAndAMissingBrace) {
    Load(CHOICES + "/one/two/three}\r\n");
    Game_tick();
    std::vector<std::tuple<int, int, int, int>> rects;
    for (const Rect& r : game.choice_rect) rects.emplace_back(r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(rects, (std::vector<std::tuple<int, int, int, int>>{
                         {40, 59, 150, 85}, {40, 85, 190, 111}, {40, 111, 110, 137}}));
    EXPECT_EQ(std::tuple(game.text_x, game.text_y, game.select_run, game.text_run),
              std::tuple(20, 150, 1, 0));
    EXPECT_EQ(game.cur, Pos(CHOICES, "ABCD\r") + 6); // the CR of the third line, and the stepper's two
    EXPECT_EQ(Lit(), "");

    for (int y : {330, 331}) {
        Restart();
        Load(CHOICES + "/one/two/three}\r\n");
        game.text_y = y;
        Game_tick();
        EXPECT_EQ(std::tuple(game.select_run, Quit_pending(), game.cur),
                  std::tuple(y == 330, y == 331, y == 330 ? 46 : 9))
            << y;
    }
    EXPECT_EQ(Boxes(), Lines{"Com_select3() |選択肢を表示するだけの画面の余裕がありません（T0T）\n"
                             "そんな訳で、すぱっといさぎよく強制終了～♪"});
    Restart();
    Load("#select3 one two three");
    Game_tick();
    EXPECT_EQ(Boxes(), Lines{"Error|サーチＥＮＤ。{ }の対応が変？かも･･･（謎）"});
    EXPECT_EQ(std::tuple(game.halt_run, game.select_run, game.select_normal), std::tuple(1, 0, nullptr));
}

TEST_F(Menus, HoverHighlightsAndOnlyAPlainLeftPressPicks) {
    std::vector<std::string> lit;
    std::vector<int> open;
    auto sample = [&](DWORD ms) {
        headless->call_at(ms, [&] { lit.push_back(game.select_run ? Lit() : "closed"); });
    };
    // the border row between 1 and 2, the left and right edge columns, then inside 1 and inside 2
    Events("100 move 60 85\n120 move 40 70\n140 move 150 70\n160 move 149 70\n180 move 60 90\n"
           // with Shift, with Ctrl, with the right button too, the right alone, Enter, Space
           "200 ldown 60 90 shift\n210 lup 60 90\n220 ldown 60 90 ctrl\n230 lup 60 90\n"
           "240 ldown 60 90 right\n250 lup 60 90\n260 rdown 60 90\n270 rup 60 90\n"
           "280 key RETURN\n290 key SPACE\n400 ldown 60 90\n");
    for (DWORD ms : {110, 130, 150, 170, 190, 395}) sample(ms);
    Play_script(CHOICES + "/o{n/e}ne/two/three}\r\n", 1000);
    EXPECT_EQ(lit, (std::vector<std::string>{"", "", "", "1", "2", "2"}));
    // branch 2 typed past the slash nested in branch 1, below the lines, which stay as picked
    EXPECT_EQ(std::tuple(game.select_run, game.select_normal, game.text_x, game.text_y),
              std::tuple(0, nullptr, 50, 150));
    EXPECT_GT(Ink(20, 150, 30, 26), 0);
    EXPECT_EQ(Lit(), "2");
}

TEST_F(Menus, StartMenuHoldsStillThenPicksAndPutsBackWhatItCovered) {
    Surface* start = LoadImage("gdat/start.bgh");
    ASSERT_NE(start, nullptr);
    std::vector<std::string> seen;
    auto look = [&]() -> std::string {
        if (game.menu_state != MENU_SHOWN)
            return Square_is(220, 250, game.bg_surface, 220, 250) ? "restored" : "?";
        return Square_is(220, 250, start, 0, 0) ? "normal" : Square_is(220, 250, start, 200, 0) ? "lit" : "?";
    };
    // held from 60 ms: nothing until 200 ms after the set-up, then lit; released, the edges
    Events("50 move 300 350\n60 ldown 300 350\n180 lup 300 350\n"
           "300 move 262 350\n320 move 263 350\n340 move 378 350\n360 move 377 323\n380 move 377 324\n"
           "400 move 300 379\n420 move 300 378\n"
           "440 ldown 300 350 shift\n450 lup 300 350\n460 ldown 300 350 ctrl\n470 lup 300 350\n"
           "480 rdown 300 350\n490 rup 300 350\n500 key RETURN\n510 key SPACE\n700 ldown 300 350\n");
    for (DWORD ms : {55, 150, 199, 250, 310, 330, 350, 370, 390, 410, 430, 600, 710})
        headless->call_at(ms, [&] { seen.push_back(look()); });
    // redrawn on every pass, the unchanged menu is not uploaded to the window again
    int uploads = 0;
    headless->call_at(560, [&] { uploads = headless->uploads(); });
    headless->call_at(690, [&] { uploads -= headless->uploads(); });
    Play_script("#start_menu 220, 250\r\n#start_menu 220,250\r\nAB", 1000);
    EXPECT_EQ(seen, (std::vector<std::string>{"normal", "normal", "normal", "lit", "normal", "lit", "normal",
                                              "normal", "lit", "normal", "lit", "lit", "restored"}));
    EXPECT_EQ(uploads, 0);
    // the second menu came within 200 ms of the pick: nothing shown, typing went on
    EXPECT_EQ(std::tuple(game.menu_state, game.menu_surface, game.text_x, game.halt_run),
              std::tuple(0, nullptr, 40, 1));
    DeleteSurface(start);
}
