// What a host gets from the engine: a turn that holds the story still, and the observer told each
// character, pause, box and script as the story plays.
#include "game_folder.h"

using Host = Game_folder_test;

namespace {

// Records what the observer is told, one line each.
struct Recorder : Observer {
    Lines seen;
    void typed(const char* bytes, int length) override {
        seen.push_back("typed " + Cp932_to_utf8(std::string(bytes, length).c_str()));
    }
    void paused(Pause kind) override { seen.push_back("paused " + std::to_string((int)kind)); }
    void boxed(const char* text, const char*, const char*) override {
        seen.push_back("box " + Cp932_to_utf8(text));
    }
    void loaded(const char* path) override { seen.push_back(std::string("loaded ") + path); }
};

} // namespace

TEST_F(Host, AHeldTurnDispatchesWaitingMessagesAndRunsNoPass) {
    Write_script("#set_text_wait 1\r\nabcdef#wait\r\n");
    int code = 0;
    ASSERT_EQ(Main_start(&instance, SW_SHOWNORMAL, &code, WndProc), 1);
    Events("50 move 33 44\n60 ldown 33 44");
    headless->inject(70, WM_PAINT, 0, 0);
    int presents = headless->presents();
    Lines turns;
    for (int ms = 0; ms < 100; ms++, Sleep(1))
        if (int turn = Main_messages(&code); turn != TURN_IDLE) turns.push_back(std::to_string(turn));
    EXPECT_EQ(turns, (Lines{"1", "1", "1"})) << "each message in the turn of its own ms";
    EXPECT_EQ(std::tuple(game.cur, game.mouse_x, game.mouse_y), std::tuple(0, 33, 44));
    EXPECT_EQ(headless->presents(), presents + 1) << "the paint still presents";
    PostQuitMessage(3);
    EXPECT_EQ(Main_messages(&code), TURN_QUIT);
    EXPECT_EQ(code, 3);
}

TEST_F(Host, TheObserverIsToldEachCharacterPauseBoxAndScript) {
    Write_script(Cp("#set_text_wait 0\r\naい#wait\r\n#nosuch\r\n#file_change next.tda *top:\r\n"));
    Write_script(
        Cp("*top:\r\nう#select3 {\r\none\r\ntwo\r\nthree\r\n/#start_menu 0,0\r\n/\r\n/}\r\n#halt\r\n"),
        "next.tda");
    Recorder recorder;
    observer = &recorder;
    Events("100 ldown 0 0\n100 lup 0 0\n200 move 60 72\n200 ldown 60 72\n201 lup 60 72\n"
           "500 move 100 100\n500 ldown 100 100\n501 lup 100 100");
    Play(1000);
    observer = nullptr;
    EXPECT_EQ(recorder.seen,
              (Lines{"loaded .\\txt\\config.tda", "typed a", "typed い", "paused 0",
                     "box 警告：無効なコマンド [#nosuch] が記述されています", "loaded .\\txt\\next.tda",
                     "typed う", "paused 2", "paused 3", "paused 4"}));
}

namespace {

// The spans of script_buf the stepper reads, "FIRST-LAST" as the observer is told them, or "FIRST"
// for a span never told its last byte.
struct Reading : Observer {
    Lines spans;
    bool open = false;
    void reads_from(int pos) override {
        spans.push_back(std::to_string(pos));
        open = true;
    }
    void read_up_to(int last) override {
        if (open) spans.back() += "-" + std::to_string(last);
        open = false;
    }
};

} // namespace

TEST_F(Host, TheObserverIsToldWhatEachStepReadsUpToASkipOrAJump) {
    const std::string script = "#set_text_wait 0\r\n#if_flag 1 {\r\nA\r\n/\r\nB\r\n}\r\n#jump *end:\r\nC\r\n"
                               "*end:\r\n#select3 {\r\none\r\ntwo\r\nthree\r\n/D\r\n/E\r\n/F\r\n}\r\n";
    Write_script(script);
    Reading reading;
    observer = &reading;
    headless->call_at(100, [&] {
        const Rect& r = game.choice_rect[1];
        Events("100 move " + std::to_string(r.left + 1) + " " + std::to_string(r.top + 1) + "\n100 ldown " +
               std::to_string(r.left + 1) + " " + std::to_string(r.top + 1));
    });
    Play(200);
    observer = nullptr;
    auto at = [&](const char* needle, int off = 0) { return std::to_string((int)script.find(needle) + off); };
    auto span = [&](const char* from, const char* last) { return at(from) + "-" + at(last); };
    const Lines& s = reading.spans;
    auto told = [&](const std::string& one) { return std::find(s.begin(), s.end(), one) != s.end(); };
    // the test reads up to its '{'; the skip then passes over A and the '/' line, and B is read
    EXPECT_TRUE(told(span("#if_flag", "{\r\nA")));
    EXPECT_TRUE(told(at("B")));
    // the jump reads its label's name, lands on the label and reads it, and goes on after its line
    EXPECT_TRUE(told(span("#jump", ":\r\nC")));
    EXPECT_TRUE(told(span("*end:\r\n#", ":\r\n#select3")));
    // the choice reads its three lines up to the carriage return of the third; its second branch runs,
    // and the '/' that ends it reads nothing of the third's line
    EXPECT_TRUE(told(span("#select3", "\r\n/D")));
    EXPECT_TRUE(told(at("E")));
    EXPECT_TRUE(told(at("/F") + "-" + at("/F", -1)));
    for (const char* never : {"A\r\n", "C\r\n", "D\r\n", "F\r\n"})
        for (const std::string& one : s) {
            size_t dash = one.find('-');
            int first = std::stoi(one),
                last = dash == std::string::npos ? first : std::stoi(one.substr(dash + 1));
            EXPECT_FALSE(first <= (int)script.find(never) && (int)script.find(never) <= last)
                << never << " read in " << one;
        }
}
