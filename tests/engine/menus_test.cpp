// The choice menu and the start menu: layout, hover, the pick and what it leaves behind.
#include "game_folder.h"

namespace {

constexpr uint32_t NORMAL = 0xFFFF64, HILITE = 0xFF3232; // BS pixels of the two looks

class Menus : public Script_test {
  protected:
    // Which choices show highlighted, as "1", "12", "" ...; each shows one look or the other.
    static std::string Lit() {
        std::string lit;
        for (int k = 0; k < 3; k++) {
            const Rect& r = game.choice_rect[k];
            auto shown = Cut(game.bs_surface, r.left, r.top, r.right - r.left, r.bottom - r.top);
            bool hilite = std::ranges::count(shown, HILITE) > 0,
                 normal = std::ranges::count(shown, NORMAL) > 0;
            EXPECT_NE(hilite, normal) << "choice " << k + 1;
            if (hilite) lit += char('1' + k);
        }
        return lit;
    }
};

const std::string CHOICES = "#select3 {\r\nABCDEFGH\r\n\r\n  ABCDEFGHIJKL\r\nABCD\r\n";

} // namespace

// (a missing brace and the room below: golden/menus.golden)
TEST_F(Menus, LayoutHoverAndOnlyAPlainLeftPressPicks) {
    std::vector<std::tuple<int, int, int, int>> rects;
    std::tuple<int, int, int, int, int> laid; // the text cursor, the two modes and cur, as laid out
    headless->call_at(50, [&] {
        for (const Rect& r : game.choice_rect) rects.emplace_back(r.left, r.top, r.right, r.bottom);
        laid = std::tuple(game.text_x, game.text_y, game.select_run, game.text_run, game.cur);
    });
    std::vector<std::string> lit;
    // the border row between 1 and 2, the left and right edge columns, then inside 1 and inside 2
    Events("100 move 60 85\n120 move 40 70\n140 move 150 70\n160 move 149 70\n180 move 60 90\n"
           // with Shift, with Ctrl, with the right button too, the right alone, Enter, Space
           "200 ldown 60 90 shift\n210 lup 60 90\n220 ldown 60 90 ctrl\n230 lup 60 90\n"
           "240 ldown 60 90 right\n250 lup 60 90\n260 rdown 60 90\n270 rup 60 90\n"
           "280 key RETURN\n290 key SPACE\n400 ldown 60 90\n");
    for (DWORD ms : {50, 110, 130, 150, 170, 190, 395})
        headless->call_at(ms, [&] { lit.push_back(game.select_run ? Lit() : "closed"); });
    Play_script(CHOICES + "/o{n/e}ne/two/three}\r\n", 1000);
    EXPECT_EQ(rects, (std::vector<std::tuple<int, int, int, int>>{
                         {40, 59, 150, 85}, {40, 85, 190, 111}, {40, 111, 110, 137}}));
    // the CR of the third line, and the stepper's two
    EXPECT_EQ(laid, std::tuple(20, 150, 1, 0, Pos(CHOICES, "ABCD\r") + 6));
    EXPECT_EQ(lit, (std::vector<std::string>{"", "", "", "", "1", "2", "2"}));
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
        auto shown = Cut(game.bs_surface, 220, 250, 200, 200);
        if (game.menu_state != MENU_SHOWN)
            return shown == Cut(game.bg_surface, 220, 250, 200, 200) ? "restored" : "?";
        return shown == Cut(start, 0, 0, 200, 200)     ? "normal"
               : shown == Cut(start, 200, 0, 200, 200) ? "lit"
                                                       : "?";
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
