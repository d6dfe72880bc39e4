// Labels and jumps (jump, file_change and the label search) and the 256 flags.
#include "script_fixture.h"

namespace {

using Labels = Script_test;
using Flags = Script_test;

std::string Missing(const std::string& target) {
    return "Com_jump()|ラベル [" + target + "] が見つかりません。強制終了の刑♪";
}

} // namespace

TEST_F(Labels, SearchRulesIndentFirstMatchCutAndColon) {
    // 'x*Two' is no label; the indented one is; the later one with the same text never wins
    const std::string indented = "#jump *Two\r\nx*Two\r\n \t*Two\r\nA\r\n*Two\r\nB";
    Load(indented);
    Step();
    EXPECT_EQ(game.cur, Pos(indented, "A"));

    // a label at position 0 is found from a jump that stands after it
    const std::string first = "*Top\r\nA\r\n#jump *Top\r\n";
    Load(first);
    game.cur = Pos(first, "#");
    Step();
    EXPECT_EQ(game.cur, Pos(first, "A"));

    // a label's text is cut after 32 bytes: its first 32 bytes match, one more does not
    const std::string name = "*" + std::string(40, 'L');
    const std::string cut = "#jump " + name.substr(0, 32) + "\r\n" + name + "\r\n";
    Load(cut);
    Step();
    EXPECT_EQ(game.cur, Pos(cut, name) + 34); // two bytes after the cut, inside the name
    Load("#jump " + name.substr(0, 33) + "\r\n" + name + "\r\n");
    Step();
    EXPECT_TRUE(Quit_pending());

    // a ':' is part of the label's text
    const std::string colon = "#jump *scene:\r\n*scene:\r\nA";
    Load(colon);
    Step();
    EXPECT_EQ(game.cur, Pos(colon, "A"));
    EXPECT_FALSE(Quit_pending());
    Load("#jump *scene\r\n*scene:\r\nA");
    Step();
    EXPECT_TRUE(Quit_pending());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{Missing(name.substr(0, 33)), Missing("*scene")}));
}

TEST_F(Labels, MissingLabelEndsTheRun) {
    Write_script("#jump *NONE\r\n" + Cp("あ"));
    EXPECT_EQ(Play(5000), 0);
    EXPECT_FALSE(headless->stopped_by_deadline());
    EXPECT_EQ(Boxes(), std::vector<std::string>{Missing("*NONE")});
    EXPECT_EQ(game.text_x, 20); // nothing after the jump was typed
    EXPECT_LT(game.cur, SCRIPT_BUF_SIZE);

    // file_change reports under the same caption
    Restart();
    Write_script("*LOST\r\n", "next.tda");
    Write_script("#file_change next.tda, *NONE\r\n");
    EXPECT_EQ(Play(5000), 0);
    EXPECT_FALSE(headless->stopped_by_deadline());
    EXPECT_EQ(Boxes(), std::vector<std::string>{Missing("*NONE")});
}

TEST_F(Labels, FileChangeContinuesOnTheSecondLineAndKeepsFlags) {
    const std::string next = "*TOP\r\n" + Cp("あ") + "#halt\r\n";
    Write_script(next, "next.tda");
    Write_script("#flag_on 9\r\n#file_change next.tda *TOP\r\n" + Cp("い"));
    EXPECT_EQ(Play(1000), 0);
    EXPECT_TRUE(headless->boxes().empty());
    EXPECT_EQ(game.halt_run, 1);
    EXPECT_EQ(game.cur, Pos(next, "#halt") + 6); // the LF after #halt in the new file
    EXPECT_EQ(game.text_x, 40);                  // one character: the new file's second line
    EXPECT_EQ(game.flags[9], 1);
}

TEST_F(Labels, ShortScriptLeavesOldLabelsBehindItsEndMarker) {
    const std::string long_script =
        "#file_change short.tda *S\r\nthe short script is loaded over the start of this one\r\n"
        "*OLD\r\nold#halt\r\n";
    const std::string short_script = "*S\r\n#jump *OLD\r\n";
    Write_script(long_script);
    Write_script(short_script, "short.tda");
    EXPECT_EQ(Play(1000), 0);
    EXPECT_TRUE(headless->boxes().empty());
    EXPECT_EQ(game.script_buf[short_script.size()], SCRIPT_END_MARK);
    EXPECT_EQ(game.halt_run, 1);
    EXPECT_EQ(game.cur, Pos(long_script, "#halt") + 6);
    EXPECT_EQ(game.text_x, 50); // "old" typed from the leftover bytes
}

TEST_F(Flags, ZeroAndTopFlagInvalidNumbersAndDisplay) {
    Write_script("#set_text_wait 0\r\n"
                 "#flag_on 0\r\n#flag_on 255\r\n#disp_flag 0\r\n#flag_off 255\r\n#disp_flag 255\r\n"
                 "#flag_on 256\r\n#flag_on -1\r\n#flag_off 256\r\n#disp_flag -1\r\n"
                 "#flag_on 7\r\n#disp_flag 7\r\n#flag_off 7\r\n#disp_flag 7\r\n"
                 "#if_flag 0 {\r\n#flag_on 100\r\n/\r\n#flag_on 101\r\n}\r\n"
                 "#if_flag 255 {\r\n#flag_on 102\r\n/\r\n#flag_on 103\r\n}\r\n#halt\r\n");
    EXPECT_EQ(Play(1000), 0);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "Com_disp_flag()|Flag 0 = ON ",
                           "Com_disp_flag()|Flag 255 = OFF",
                           "Com_flag_on|フラグ番号 256 は無効です",
                           "Com_flag_on|フラグ番号 -1 は無効です",
                           "Com_flag_on|フラグ番号 256 は無効です",
                           "Com_flag_on|フラグ番号 -1 は無効です",
                           "Com_disp_flag()|Flag 7 = ON ",
                           "Com_disp_flag()|Flag 7 = OFF",
                       }));
    EXPECT_EQ(game.halt_run, 1);
    std::vector<int> on;
    for (int i = 0; i < 256; i++)
        if (game.flags[i]) on.push_back(i);
    EXPECT_EQ(on, (std::vector<int>{0, 100, 103}));
}

TEST_F(Flags, NestedBlocksAndFlagNumbersOutsideTheRange) {
    Write_script(
        "#set_text_wait 0\r\n#flag_on 1\r\n"
        // on: the first branch runs and the nested block of the second is skipped whole
        "#if_flag 1 {\r\n#flag_on 10\r\n/\r\n#if_flag 2 {\r\n#flag_on 11\r\n/\r\n#flag_on 12\r\n}\r\n"
        "#flag_on 13\r\n}\r\n"
        // off: the nested block of the first branch is skipped, the '{' may be on the next line
        "#if_flag 2\r\n{\r\n#if_flag 1 {\r\n#flag_on 14\r\n/\r\n#flag_on 15\r\n}\r\n#flag_on 16\r\n/\r\n"
        "#if_flag 1 {\r\n#flag_on 17\r\n/\r\n#flag_on 18\r\n}\r\n}\r\n"
        // no flag 300 (nor the flag 300 would wrap to): the second branch
        "#flag_on 44\r\n#if_flag 300 {\r\n#flag_on 19\r\n/\r\n#flag_on 20\r\n}\r\n#halt\r\n");
    EXPECT_EQ(Play(1000), 0);
    EXPECT_TRUE(headless->boxes().empty());
    EXPECT_EQ(game.halt_run, 1);
    std::vector<int> on;
    for (int i = 0; i < 256; i++)
        if (game.flags[i]) on.push_back(i);
    EXPECT_EQ(on, (std::vector<int>{1, 10, 17, 20, 44}));
}
