// Starting at a script and label with flags on, as the command line asks (the label search, jumps
// and the flags are played in golden/labels.golden and golden/flags.golden).
#include "game_folder.h"

using Labels = Script_test;

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
