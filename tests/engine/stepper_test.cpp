// The text stepper: a resume that no played run can show, and the layout with its page-wait where
// the text cursor is put (the page filled: golden/stepper.golden).
#include "game_folder.h"

using Stepper = Script_test;

// Where the stepper resumes after each element is stated in golden/stepper.golden; a step that sets
// text_wait to 0 lets the next ones run in the same ms, so only a step of its own can show its resume.
TEST_F(Stepper, ANumberOnTheNextLineResumesAfterIt) {
    const std::string script = "#set_text_wait\r\n0\r\nX";
    Load(script);
    Step(1);
    EXPECT_EQ(std::tuple(game.cur, game.text_x, game.text_y, Frame(game.bs_surface) == Frame(game.bg_surface),
                         game.halt_run),
              std::tuple(Pos(script, "X"), 20, 20, true, 0));
    EXPECT_EQ(std::tuple(game.delay_run, game.page_run, Boxes()), std::tuple(0, 0, Lines{}));
}

TEST_F(Stepper, LayoutOnTheAreasLastLinesAlsoInTheEqualCases) {
    // a page-wait's cursor blinks off after 400 ms, giving back what lay under it (an X)
    Load("X");
    Step(1);
    game.text_x = 25;
    const std::vector<uint32_t> under = Frame(game.bs_surface);
    Page_start();
    Sleep(400);
    Tick_page();
    EXPECT_EQ(Frame(game.bs_surface), under);

    Load(std::string(16, ';'));
    game.text_x = 100;
    EXPECT_EQ(Cursor(15), std::tuple(20, 410, 0));
    game.text_x = 77;
    EXPECT_EQ(Cursor(1), std::tuple(77, 410, 1)); // 436 lies below 460 - 26: a page-wait, the cursor stays
    // bottom 124: 124 - 26 = 98. From 72 the next line is exactly 98: ';' still moves there,
    // but a character on the line at 72 already counts as being on the last line
    Load("#set_text_area 20, 20, 620, 124\r\n;;");
    EXPECT_EQ(Cursor(3), std::tuple(20, 72, 0));
    Load("a;a;");
    game.text_x = 570;
    game.text_y = 72;
    EXPECT_EQ(Cursor(1), std::tuple(580, 72, 1));
    game.page_run = 0;
    EXPECT_EQ(Cursor(1), std::tuple(20, 98, 0));
    EXPECT_EQ(Cursor(2), std::tuple(30, 98, 1));
}
