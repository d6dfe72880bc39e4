// The text stepper: a resume that no played run can show, and the layout with its page-wait.
#include "game_folder.h"

using Stepper = Script_test;

// Where the stepper resumes after each element is stated in golden/stepper.golden; a step that sets
// text_wait to 0 lets the next ones run in the same ms, so only a step of its own can show its resume.
TEST_F(Stepper, ANumberOnTheNextLineResumesAfterIt) {
    const std::string script = "#set_text_wait\r\n0\r\nX";
    Load(script);
    Step(1);
    EXPECT_EQ(std::tuple(game.cur, game.text_x, game.text_y, Ink(0, 0, SCREEN_W, SCREEN_H), game.halt_run),
              std::tuple(Pos(script, "X"), 20, 20, 0, 0));
    EXPECT_EQ(std::tuple(game.delay_run, game.page_run, Boxes()), std::tuple(0, 0, Lines{}));
}

TEST_F(Stepper, LayoutWrapsAndFillsThePageAlsoInTheEqualCases) {
    std::string page;
    for (int i = 0; i < 15 * 29 + 28; i++) page += Cp("字");
    Load(page + "X");
    EXPECT_EQ(Cursor(28), std::tuple(580, 20, 0));
    EXPECT_EQ(Cursor(1), std::tuple(20, 46, 0)); // the 29th reaches 600: drawn there, then a new line
    EXPECT_GT(Ink(580, 20, 20, 26), 0);
    EXPECT_EQ(Cursor(14 * 29 + 27), std::tuple(560, 410, 0));
    // the 28th on the line at 410 reaches 580: a page-wait, its cursor after the glyph
    EXPECT_EQ(Cursor(1), std::tuple(580, 410, 1));
    EXPECT_EQ(game.text_run, 0);
    EXPECT_GT(Ink(583, 416, 19, 14), 0);
    // a click: BS becomes BG and typing goes on at the area's top-left
    WndProc(game.main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::pair(Cursor(0), game.text_run), std::pair(std::tuple(20, 20, 0), 1));
    EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface));
    EXPECT_EQ(Cursor(1), std::tuple(30, 20, 0));
    EXPECT_EQ(Boxes(), Lines{});
    // a page-wait's cursor blinks off after 400 ms, giving back what lay under it (the X)
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
