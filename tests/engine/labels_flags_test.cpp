// Labels and jumps (jump, file_change and the label search) and the 256 flags.
#include "game_folder.h"

using Labels = Script_test;
using Flags = Script_test;

TEST_F(Labels, SearchRulesFileChangeAndMissingLabels) {
    Write_script("*TOP\r\n" + Cp("あ") + "\r\n", "next.tda");
    Write_script("*S\r\n#jump *OLD\r\n", "short.tda");
    const std::string name = "*" + std::string(31, 'L') + "MNOPQRS";
    // the script, run from its first '#' for steps, and where cur resumes in the buffer ("" for a label
    // not found: reported under jump's caption, the program ended, the search run to the buffer's end)
    const std::tuple<std::string, int, std::string> cases[] = {
        // 'x*Two' is no label; the indented one is; the later one with the same text never wins
        {"#jump *Two\r\nx*Two\r\n \t*Two\r\nA\r\n*Two\r\nB", 1, "A"},
        {"*Top\r\nA\r\n#jump *Top\r\n", 1, "A"}, // a label at position 0 is found from after it
        // a label's text is cut after 32 bytes: its first 32 bytes match, one more does not
        {"#jump " + name.substr(0, 32) + "\r\n" + name + "\r\n", 1, "O"},
        {"#jump " + name.substr(0, 33) + "\r\n" + name + "\r\n", 1, ""},
        {"#jump *scene:\r\n*scene:\r\nA", 1, "A"}, // a ':' is part of the label's text
        {"#jump *scene\r\n*scene:\r\nA", 1, ""},
        // the new file's second line, the flags kept; a shorter file leaves labels past its end marker
        {"#flag_on 9\r\n#file_change next.tda *TOP\r\n" + Cp("い"), 2, Cp("あ")},
        {"#file_change short.tda *S\r\nthe short script is loaded over the start of this one\r\n*OLD\r\nold#",
         2, "old#"},
        {"#file_change next.tda, *NONE\r\n", 1, ""},
    };
    for (const auto& [script, steps, resume_on] : cases) {
        Load(script);
        game.cur = Pos(script, "#");
        Step(steps);
        const std::string buffer((const char*)game.script_buf, SCRIPT_BUF_SIZE);
        EXPECT_EQ(Quit_pending(), resume_on.empty()) << script;
        EXPECT_EQ(game.cur, resume_on.empty() ? SCRIPT_BUF_SIZE - 1 : Pos(buffer, resume_on)) << script;
    }
    EXPECT_EQ(Flags_on(), std::vector<int>{9});
    const std::string missing = "Com_jump()|ラベル [", tail = "] が見つかりません。強制終了の刑♪";
    EXPECT_EQ(Boxes(), (Lines{missing + name.substr(0, 33) + tail, missing + "*scene" + tail,
                              missing + "*NONE" + tail}));
}

TEST_F(Flags, SetClearShowAndBranchAtTheLimitsAndInNestedBlocks) {
    const std::string bad = "Com_flag_on|フラグ番号 ";
    const std::tuple<std::string, Lines, std::vector<int>> cases[] = {
        {"#flag_on 0\r\n#flag_on 255\r\n#disp_flag 0\r\n#flag_off 255\r\n#disp_flag 255\r\n"
         "#flag_on 256\r\n#flag_on -1\r\n#flag_off 256\r\n#disp_flag -1\r\n"
         "#if_flag 0 {\r\n#flag_on 100\r\n/\r\n#flag_on 101\r\n}\r\n"
         "#if_flag 255 {\r\n#flag_on 102\r\n/\r\n#flag_on 103\r\n}\r\n",
         {"Com_disp_flag()|Flag 0 = ON ", "Com_disp_flag()|Flag 255 = OFF", bad + "256 は無効です",
          bad + "-1 は無効です", bad + "256 は無効です", bad + "-1 は無効です"},
         {0, 100, 103}},
        // on: the first branch runs and the nested block of the second is skipped whole
        {"#flag_on 1\r\n#if_flag 1 {\r\n#flag_on 10\r\n/\r\n#if_flag 2 {\r\n#flag_on 11\r\n/\r\n#flag_on "
         "12\r\n}\r\n"
         "#flag_on 13\r\n}\r\n"
         // off: the nested block of the first branch is skipped, the '{' may be on the next line
         "#if_flag 2\r\n{\r\n#if_flag 1 {\r\n#flag_on 14\r\n/\r\n#flag_on 15\r\n}\r\n#flag_on 16\r\n/\r\n"
         "#if_flag 1 {\r\n#flag_on 17\r\n/\r\n#flag_on 18\r\n}\r\n}\r\n"
         // no flag 300 (nor the flag 300 would wrap to): the second branch
         "#flag_on 44\r\n#if_flag 300 {\r\n#flag_on 19\r\n/\r\n#flag_on 20\r\n}\r\n",
         {},
         {1, 10, 17, 20, 44}},
    };
    for (const auto& [script, boxes, on] : cases) {
        Restart();
        Play_script("#set_text_wait 0\r\n" + script + "#halt\r\n", 1000);
        EXPECT_EQ(Boxes(), boxes);
        EXPECT_EQ(std::pair(game.halt_run, Flags_on()), std::pair(1, on));
    }
}

TEST_F(Labels, StartAtAScriptLabelAndFlagsWhereAJumpWouldResume) {
    Write_script("A\r\n*two:\r\nB\r\n");
    Write_script("C\r\n*scene2:\r\nD\r\n", "chapter3.tda");
    Write_script("E\r\n*x ", "blank.tda");
    Write_script("F\r\n*x\r", "cr.tda");
    // the script and label asked for, the flags; where cur resumes ("" when refused), and why or the script
    const std::tuple<const char*, const char*, std::vector<int>, std::string, const char*> cases[] = {
        {"", "", {}, "A", "txt/config.tda"}, // nothing asked: the start as ever
        {"", "*two:", {}, "B", "txt/config.tda"},
        {"", "two", {}, "B", "txt/config.tda"}, // the '*' and the ':' may be left out
        {"txt/chapter3.tda", "*scene2", {0, 255}, "D", "txt/chapter3.tda"},
        {"chapter3.tda", "*scene2:", {}, "D", "txt/chapter3.tda"}, // a name in txt/, as file_change takes it
        {"TXT/CHAPTER3.TDA", "", {}, "C", "TXT/CHAPTER3.TDA"},     // found as the engine finds files
        {"blank.tda", "*x", {}, "\xFF", "txt/blank.tda"}, // a label on the last line: over at the mark
        {"cr.tda", "*x", {}, "\xFF", "txt/cr.tda"},
        {"gdat/chapter3.tda", "", {}, "", "there is no script gdat/chapter3.tda in the game folder"},
        {"txt/chapter3.tda", "*two", {}, "", "there is no label *two in txt/chapter3.tda"},
        {"", "", {7, 256}, "", "there is no flag 256: flags are 0 to 255"},
        {"", "", {-1}, "", "there is no flag -1: flags are 0 to 255"},
    };
    for (const auto& [script, label, flags, resume_on, why_or_script] : cases) {
        SCOPED_TRACE(std::string(script) + " " + label);
        Restart();
        char why[128] = "";
        int done = !*script || Script_first(script, why, sizeof why);
        Play(1);
        done = done && Script_start_at(label, flags, why, sizeof why);
        EXPECT_EQ(done, resume_on.empty() ? 0 : 1);
        EXPECT_EQ(Flags_on(), done ? flags : std::vector<int>{}); // a refused start turns none on
        EXPECT_EQ(done ? Folder_path(game.script_name) : std::string(why), why_or_script);
        if (!done) continue;
        EXPECT_EQ(game.cur, Pos(std::string((const char*)game.script_buf, SCRIPT_BUF_SIZE), resume_on));
    }
    // a chapter's folder without txt/config.tda: the script named is the first, and no box comes
    fs::remove("txt/config.tda");
    Restart();
    char why[128] = "";
    ASSERT_EQ(Script_first("chapter3.tda", why, sizeof why), 1);
    Play(1);
    EXPECT_EQ(Folder_path(game.script_name), "txt/chapter3.tda");
    EXPECT_EQ(Boxes(), Lines{});
}
