// The text stepper: where it resumes and what it types, the layout and page-wait, and the end.
#include "game_folder.h"

using Stepper = Script_test;

TEST_F(Stepper, ResumesAfterEachElementAndTypesOnlyText) {
    const std::string block = "#if_flag 4 {\r\nA\r\n/\r\nB\r\n}\r\nX";
    // the script, steps; then the bytes cur stands on, the text cursor, and whether anything was drawn
    const std::tuple<std::string, int, std::string, std::pair<int, int>, bool> cases[] = {
        {"#page\r\nX", 1, "\n", {20, 20}, false},              // a command without arguments: on its LF
        {"#wait\r\nX", 1, "\n", {20, 20}, true},               // its cursor shown
        {"#flag_on 3\r\nX", 1, "X", {20, 20}, false},          // a number ending at the CR: the next line
        {"#set_text_wait\r\n0\r\nX", 1, "X", {20, 20}, false}, // a number on the next line
        {"## note #wait\r\nX", 1, "X", {20, 20}, false},       // a comment: the next line
        {"##wait\r\nX", 1, "X", {20, 20}, false},
        {"*L:##wait\r\nX", 2, "X", {20, 20}, false},             // a '#' after another starts a comment
        {"#jump *L\r\nA\r\n*L tail", 1, "ail", {20, 20}, false}, // a label with a blank: two bytes after it
        {"/x{y}z}\r\nX", 1, "X", {20, 20}, false},               // '/' in text: 3 bytes after the closing '}'
        {"*name:\r\nX", 1, "\n", {20, 20}, false},               // '*' and ':': two bytes after the ':'
        {"*name\r\nX", 5, "\r", {60, 20}, true},                 // no ':' in 32 bytes: the name is typed
        {"*a b:\r\nX", 1, "a", {20, 20}, false},                 // nor one after a blank
        {"*a\r\nb:\r\nX", 1, "\nX", {20, 20}, false},            // the search goes past the line end
        {";X", 1, "X", {20, 46}, false},
        {"\t\r\n {}" + Cp("字") + "X", 7, "X", {50, 20}, true}, // a blank one width, a character two
        // unknown names, however near a known one, are reported and their arguments typed
        {"#Wait 12\r\nX", 3, "\r", {40, 20}, true},
        {"# 7\r\n", 1, "7", {20, 20}, false},
        {"#delay,100\r\nX", 1, "\n", {20, 20}, false},
        {"#wait" + Cp("あ") + "\r\nX", 1, "\n", {20, 20}, false},
        {"#flag_on 4\r\n" + block, 2, "A", {20, 20}, false},  // if_flag on: 3 bytes after the '{'
        {"#flag_off 4\r\n" + block, 2, "B", {20, 20}, false}, // off: after the '/'
    };
    for (const auto& [script, steps, resume_on, at, drawn] : cases) {
        SCOPED_TRACE(script);
        Load(script);
        Step(steps);
        EXPECT_EQ(std::tuple(game.cur, std::pair(game.text_x, game.text_y), Ink(0, 0, SCREEN_W, SCREEN_H) > 0,
                             game.delay_run + game.halt_run + game.page_run),
                  std::tuple(Pos(script, resume_on), at, drawn, 0));
    }
    const std::string unknown = "Command_call()|警告：無効なコマンド [#";
    EXPECT_EQ(Boxes(),
              (Lines{unknown + "Wait] が記述されています", unknown + "] が記述されています",
                     unknown + "delay,100] が記述されています", unknown + "waitあ] が記述されています"}));
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

TEST_F(Stepper, TheEndOfTheStoryHaltsUntilTheNextClick) {
    // a two-byte character cut off by the end marker is not drawn; a comment may run off the buffer;
    // a last element without a line end is over at the mark: nothing behind it is typed
    const std::tuple<std::string, int, int, Lines> endings[] = {
        {"AB", 40, 2, {}},
        {"A\x82", 30, 1, {}},
        {"A##no line end", 30, 14, {}},
        {"A\r\n*end:", 30, 8, {}},
        {"A/B}", 30, 4, {}},
        {"A#wait", 30, 6, {"Command_call()|警告：無効なコマンド [#wait\xEF\xBF\xBD] が記述されています"}},
        // a last word is read through the mark and its command runs with it; the story ends at the mark
        {"A#g_load BS x.bgh", 30, 17, {"Load_Bmp()|画像読み込みに失敗しました"}},
        {"A#play_wav 0 se.wav", 30, 19, {}},
        // a last comment ends at the mark, not in the longer script's leftovers behind it
        {"#file_change next.tda *N\r\n#flag_on 9\r\n#wait\r\n", 30, 8, {}}};
    Write_script("*N\r\nB##c", "next.tda");
    for (const auto& [script, text_x, cur, boxes] : endings) {
        Restart();
        Events("1000 ldown 0 0");
        Play_script(script, 5000);
        EXPECT_EQ(std::tuple(headless->elapsed(), game.halt_run, game.text_x, game.cur),
                  std::tuple(1000u, 1, text_x, cur))
            << script;
        EXPECT_EQ(Boxes(), boxes);
    }
    // without its first script the story is empty: the loader's message, then the halt
    Restart();
    fs::remove("txt/config.tda");
    Events("1000 key RETURN");
    EXPECT_EQ(Play(5000), 0);
    EXPECT_EQ(std::pair(headless->elapsed(), game.halt_run), std::pair(1000u, 1));
    EXPECT_EQ(Boxes(), Lines{"Xalo_bload()|Error:Open file [.\\txt\\config.tda]"});
}
