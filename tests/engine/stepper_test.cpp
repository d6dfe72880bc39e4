// The text stepper: where it resumes after each element of the script, the layout of the text
// area with its wrap and page-full rules, the page-wait, and the end of the story.
#include "script_fixture.h"

#include <tuple>

namespace {

using Stepper = Script_test;

struct Resume_case {
    const char* what;
    std::string script;
    int steps;
    std::string resume_on; // cur stands on the first occurrence of this after the steps
    size_t search_from = 0;
};

} // namespace

TEST_F(Stepper, ResumesAfterEachElementWhereTheCursorContractSays) {
    const Resume_case cases[] = {
        {"command without arguments: on its LF", "#page\r\nX", 1, "\n"},
        {"wait: on its LF", "#wait\r\nX", 1, "\n"},
        {"command whose number ends at CR: the next line", "#flag_on 3\r\nX", 1, "X"},
        {"command whose number is on the next line", "#set_text_wait\r\n0\r\nX", 1, "X"},
        {"comment: the next line", "## note #wait\r\nX", 1, "X"},
        {"##wait is a comment", "##wait\r\nX", 1, "X"},
        {"a '#' just after another '#' starts a comment", "*L:##wait\r\nX", 2, "X"},
        {"label reached by jump: the line after it", "#jump *L\r\nA\r\n*L\r\nX", 1, "X"},
        {"label followed by a blank: the second byte after the blank", "#jump *L\r\nA\r\n*L tail", 1, "ail"},
        {"'/' in running text: three bytes after the closing '}'", "/x{y}z}\r\nX", 1, "X"},
        {"'*' with ':': two bytes after the ':'", "*name:\r\nX", 1, "\n"},
        {"'*' without ':' among its 32 bytes: the name is text", "*name\r\nX", 1, "n"},
        {"'*' with a blank before the ':'", "*a b:\r\nX", 1, "a"},
        {"the ':' search goes past the line end", "*a\r\nb:\r\nX", 1, "\n", 4},
        {"unrecognised command: its arguments are text", "#Wait 12\r\n", 1, "12"},
        {"empty command name: the byte after the blank", "# 7\r\n", 1, "7"},
    };
    for (const Resume_case& c : cases) {
        SCOPED_TRACE(c.what);
        Load(c.script);
        Step(c.steps);
        EXPECT_EQ(game.cur, Pos(c.script, c.resume_on, c.search_from));
    }

    // if_flag: the third byte after the '{' when on, after the '/' when off
    const std::string block = "#if_flag 4 {\r\nA\r\n/\r\nB\r\n}\r\nX";
    Load(block);
    game.flags[4] = 1;
    Step();
    EXPECT_EQ(game.cur, Pos(block, "A"));
    Load(block);
    game.flags[4] = 0;
    Step();
    EXPECT_EQ(game.cur, Pos(block, "B"));
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Command_call()|警告：無効なコマンド [#Wait] が記述されています",
                                        "Command_call()|警告：無効なコマンド [#] が記述されています"}));
}

TEST_F(Stepper, WhatIsTypedAfterLabelsAndUnknownCommands) {
    // the name of a '*' line without ':' is typed, a label line with ':' is not
    Load("*name\r\nX");
    Step(5); // '*', then n a m e
    EXPECT_EQ(game.text_x, 60);
    EXPECT_GT(Ink(20, 20, 40, 26), 0);
    Load("*hidden:\r\n;#Wait 12\r\n");
    Step(2); // the label line, its LF
    EXPECT_EQ(game.text_x, 60);
    EXPECT_EQ(Ink(64, 20, 100, 26), 0); // clear of the e and its shadow
    Step(4);                            // ';', the unknown command, then its two arguments as text
    EXPECT_EQ(Text_at(), std::pair(40, 46));
    EXPECT_GT(Ink(20, 46, 20, 26), 0);

    // tab, CR and LF move nothing, a blank moves one width, a two-byte character two
    Load("\t\r\n {}" + Cp("字"));
    game.text_x = game.text_y = 100;
    Step(4);
    EXPECT_EQ(game.text_x, 110);
    EXPECT_EQ(Ink(100, 100, 10, 26), 0);
    Step(3);
    EXPECT_EQ(game.text_x, 130);
    EXPECT_GT(Ink(110, 100, 20, 26), 0);
}

TEST_F(Stepper, DefaultLayoutWrapsAt600AndFillsThePageAt580) {
    std::string page;
    for (int i = 0; i < 15 * 29 + 28; i++)
        page += Cp("字");
    Load(page + "X");
    Step(28);
    EXPECT_EQ(Text_at(), std::pair(580, 20));
    Step(); // the 29th reaches 600: it stands at the end of the line, the next line starts
    EXPECT_EQ(Text_at(), std::pair(20, 46));
    EXPECT_GT(Ink(580, 20, 20, 26), 0);
    Step(14 * 29 + 27);
    EXPECT_EQ(Text_at(), std::pair(560, 410));
    EXPECT_EQ(game.page_run, 0);
    Step(); // the 28th on the line at 410 reaches 580: a page-wait, its cursor after the glyph
    EXPECT_EQ(std::pair(game.page_run, game.text_run), std::pair(1, 0));
    EXPECT_EQ(Text_at(), std::pair(580, 410));
    EXPECT_GT(Ink(583, 416, 19, 14), 0);

    // a click: BS becomes BG and typing goes on at the area's top-left
    WndProc(game.main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(std::pair(game.page_run, game.text_run), std::pair(0, 1));
    EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface));
    EXPECT_EQ(Text_at(), std::pair(20, 20));
    Step();
    EXPECT_EQ(game.text_x, 30);
    EXPECT_TRUE(headless->boxes().empty());
}

TEST_F(Stepper, LineBreakRulesIncludingTheEqualCase) {
    auto at = [] { return std::tuple(game.text_x, game.text_y, game.page_run); };
    Load(std::string(16, ';'));
    game.text_x = 100;
    Step(15);
    EXPECT_EQ(at(), std::tuple(20, 410, 0));
    game.text_x = 77;
    Step(); // 436 lies below 460 - 26: a page-wait, the cursor stays
    EXPECT_EQ(at(), std::tuple(77, 410, 1));

    // bottom 124: 124 - 26 = 98. From 72 the next line is exactly 98: ';' still moves there,
    // but a character on the line at 72 already counts as being on the last line
    game.page_run = 0;
    Load("#set_text_area 20, 20, 620, 124\r\n;;");
    Step(3);
    EXPECT_EQ(at(), std::tuple(20, 72, 0));
    Load("a;a;");
    game.text_x = 570;
    Step();
    EXPECT_EQ(at(), std::tuple(580, 72, 1));
    game.page_run = 0;
    Step();
    EXPECT_EQ(at(), std::tuple(20, 98, 0));
    Step(2);
    EXPECT_EQ(at(), std::tuple(30, 98, 1));
}

TEST_F(Stepper, TheEndOfTheStoryHaltsUntilTheNextClick) {
    struct Ending {
        std::string script;
        int text_x; // where typing stopped
    };
    const Ending endings[] = {
        {"AB", 40},
        {"A\x82", 30},          // a two-byte character cut off by the end marker is not drawn
        {"A##no line end", 30}, // a comment that runs off the buffer
    };
    for (const Ending& e : endings) {
        SCOPED_TRACE(e.script);
        Restart();
        Write_script(e.script);
        headless->inject(1000, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(Play(5000), 0);
        EXPECT_FALSE(headless->stopped_by_deadline());
        EXPECT_EQ(headless->elapsed(), 1000u);
        EXPECT_EQ(game.halt_run, 1);
        EXPECT_EQ(game.text_x, e.text_x);
        EXPECT_LT(game.cur, SCRIPT_BUF_SIZE);
        EXPECT_TRUE(headless->boxes().empty());
    }

    // without its first script the story is empty: the loader's message, then the halt
    Restart();
    std::filesystem::remove("txt/config.tda");
    headless->inject(1000, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Play(5000), 0);
    EXPECT_EQ(headless->elapsed(), 1000u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Xalo_bload()|Error:Open file [.\\txt\\config.tda]"});
    EXPECT_EQ(game.halt_run, 1);
}
