// Loading scripts into the one buffer: the end marker, the leftovers, scripts too long for it, and the
// start at a script and label with flags on, as the command line asks (the label search, jumps and
// the flags are played in golden/labels.golden and golden/flags.golden).
#include "game_folder.h"

using namespace std::string_literals;
using Loader = Script_test;

TEST_F(Loader, EndMarkerAndLeftoversOfAnEarlierScript) {
    unsigned char buf[300];
    std::memset(buf, 0x55, sizeof buf);
    const std::string hundred(100, 'h');
    // one after another: each file's bytes up to its first 0xFF, the 0xFF and a 0, then the old bytes
    const std::pair<std::string, std::string> loads[] = {
        {"", "\xFF\0\x55"s},
        {"ab\xFF"s + "cd", "ab\xFF\0\x55"s},
        {hundred, hundred + "\xFF\0\x55"s},
        {"ten\r\nbytes", "ten\r\nbytes\xFF\0"s + hundred.substr(12) + "\xFF\0\x55"s},
    };
    for (const auto& [file, buffer] : loads) {
        Write_script(file, "load.tda");
        EXPECT_EQ(Xalo_bload(".\\txt\\load.tda", buf), 1);
        EXPECT_EQ(std::string((char*)buf, buffer.size()), buffer);
    }
    // a file that cannot be opened: reported, the buffer and cur untouched
    game.cur = 7;
    EXPECT_EQ(Xalo_bload(".\\txt\\none.tda", buf), 0);
    EXPECT_EQ(Boxes(), Lines{"Xalo_bload()|Error:Open file [.\\txt\\none.tda]"});
    EXPECT_EQ(std::pair(std::string((char*)buf, 103), game.cur), std::pair(loads[3].second, 7));
}

TEST_F(Loader, ScriptsLongerThanTheBufferAreCut) {
    constexpr size_t room = SCRIPT_BUF_SIZE - 2; // 65,534 bytes of script, the 0xFF and the 0
    std::string fill = "#halt\r\n";
    for (size_t i = fill.size(); i < 70000; i++) fill += (char)('0' + i % 10);
    const std::pair<std::string, Lines> variants[] = {
        {fill.substr(0, room), {}},                         // fits exactly
        {fill.substr(0, room) + "\xFF" + "more bytes", {}}, // its marker ends it in time
        {fill,
         {"Xalo_bload()|スクリプトが長すぎるよ～ん。65534 バイトまでで切ったからね [.\\txt\\config.tda]"}},
    };
    for (const auto& [file, told] : variants) {
        SCOPED_TRACE(file.size());
        Restart();
        Play_script(file, 100);
        EXPECT_EQ(std::string((char*)game.script_buf + room - 3, 5), fill.substr(room - 3, 3) + "\xFF\0"s);
        EXPECT_EQ(Boxes(), told);
        EXPECT_EQ(std::pair(game.halt_run, game.cur), std::pair(1, 6)); // the cut script still runs
    }
}

TEST_F(Loader, StartAtAScriptLabelAndFlagsWhereAJumpWouldResume) {
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
        std::vector<int> on;
        for (int i = 0; i < FLAG_COUNT; i++)
            if (game.flags[i]) on.push_back(i);
        EXPECT_EQ(on, done ? flags : std::vector<int>{}); // a refused start turns none on
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
