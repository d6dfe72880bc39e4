// Delays, click-waits with their blinking cursor, and the halt, played on the virtual clock.
#include "script_fixture.h"

namespace {

using Waits = Script_test;

// One sample a millisecond of a running story: whether a click-wait runs, whether its cursor
// shows (the square at the text cursor differs from BS as it was before the wait), and, on the
// first sample after a wait, whether all of BS is back as it was before that wait.
struct Wait_trace {
    struct Run {
        bool shown;
        int ms;
        bool operator==(const Run&) const = default;
    };
    std::vector<std::vector<Run>> waits; // per click-wait, its shown and hidden stretches
    std::vector<bool> restored;

    void Sample() {
        const Surface* bs = game.bs_surface;
        if (!game.wait_run) {
            if (in_wait) restored.push_back(Frame(bs) == before);
            in_wait = false;
            if (bs->version != before_version) before = Frame(bs), before_version = bs->version;
            return;
        }
        if (!in_wait) waits.emplace_back();
        in_wait = true;
        bool shown = false;
        for (int y = game.text_y; y < game.text_y + 25; y++)
            for (int x = game.text_x; x < game.text_x + 25; x++)
                shown |= bs->pixels[y * SCREEN_W + x] != before[y * SCREEN_W + x];
        std::vector<Run>& runs = waits.back();
        if (runs.empty() || runs.back().shown != shown) runs.push_back(Run{shown, 0});
        runs.back().ms++;
    }

    bool in_wait = false;
    std::vector<uint32_t> before;
    uint64_t before_version = ~0ull;
};

} // namespace

TEST_F(Waits, DelayZeroEndsInTheSamePassAndClicksNeverShortenADelay) {
    for (const char* length : {"0", "-5"}) {
        SCOPED_TRACE(length);
        const std::string script = std::string("#delay ") + length + "\r\nB";
        Load(script);
        Game_tick();
        EXPECT_EQ(game.delay_run, 0);
        EXPECT_EQ(game.text_run, 1);
        EXPECT_EQ(game.cur, Pos(script, "B"));
        EXPECT_EQ(game.text_x, 20);
        Game_tick(); // typing resumes on the next pass
        EXPECT_EQ(game.text_x, 30);
        game.text_x = 20;
    }

    Restart();
    Write_script("#delay 100\r\nB");
    headless->inject(50, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    headless->inject(60, WM_KEYDOWN, VK_RETURN, 0);
    headless->inject(70, WM_KEYDOWN, VK_SPACE, 0);
    // the delay starts at 30 ms, the text's first step; each call sees the passes before its ms
    std::vector<int> delaying, typed;
    for (DWORD t : {129u, 130u, 131u, 132u})
        headless->call_at(t, [&] { delaying.push_back(game.delay_run), typed.push_back(game.text_x); });
    EXPECT_EQ(Play(300), 0);
    EXPECT_EQ(delaying, (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(typed, (std::vector<int>{20, 20, 20, 30}));
}

TEST_F(Waits, CursorBlinksEvery400MsAndAClickPutsBsBack) {
    Write_script(Cp("あ") + "#wait\r\n" + Cp("い") + "#wait\r\n" + Cp("う") + "#wait\r\n");
    // the waits start at 60, 960 and 1560 ms; clicks while shown, hidden, and hidden after 800 ms
    headless->inject(900, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    headless->inject(1500, WM_KEYDOWN, VK_RETURN, 0);
    headless->inject(2500, WM_KEYDOWN, VK_SPACE, 0);
    Wait_trace trace;
    for (DWORD t = 1; t < 2600; t++)
        headless->call_at(t, [&] { trace.Sample(); });
    EXPECT_EQ(Play(2600), 0);

    using Run = Wait_trace::Run;
    ASSERT_EQ(trace.waits.size(), 3u);
    // hidden 400 ms after the wait starts, shown again 400 ms later
    ASSERT_EQ(trace.waits[0].size(), 3u);
    EXPECT_EQ(trace.waits[0][0], (Run{true, 400}));
    EXPECT_EQ(trace.waits[0][1], (Run{false, 400}));
    EXPECT_TRUE(trace.waits[0][2].shown);
    // the first wait ended shown: the next blinks as the first did
    ASSERT_EQ(trace.waits[1].size(), 2u);
    EXPECT_EQ(trace.waits[1][0], (Run{true, 400}));
    EXPECT_FALSE(trace.waits[1][1].shown);
    // the second ended hidden: the third shows its cursor for 800 ms
    ASSERT_EQ(trace.waits[2].size(), 2u);
    EXPECT_EQ(trace.waits[2][0], (Run{true, 800}));
    EXPECT_FALSE(trace.waits[2][1].shown);
    EXPECT_EQ(trace.restored, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(game.halt_run, 1); // the story went on to its end
    EXPECT_EQ(game.text_x, 80);
}

TEST_F(Waits, WIsTheSameCommandAsWait) {
    std::vector<uint32_t> frames[2];
    for (int i = 0; i < 2; i++) {
        const std::string script = Cp("あ") + (i == 0 ? "#wait" : "#w") + "\r\nX";
        Restart();
        Write_script(script);
        EXPECT_EQ(Play(200), 0);
        EXPECT_EQ(game.wait_run, 1);
        EXPECT_EQ(game.text_run, 0);
        EXPECT_EQ(game.cur, Pos(script, "\n"));
        EXPECT_GT(Ink(43, 26, 19, 14), 0); // the cursor, right of the character
        frames[i] = Frame(game.bs_surface);
    }
    EXPECT_EQ(frames[0], frames[1]);
}

TEST_F(Waits, HaltEndsTheProgramOnTheNextClickOnly) {
    const std::pair<UINT, WPARAM> clicks[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_SPACE}};
    for (auto [message, wparam] : clicks) {
        SCOPED_TRACE(message + wparam);
        Restart();
        Write_script(Cp("あ") + "#halt\r\n" + Cp("い"));
        std::vector<uint32_t> halted;
        headless->call_at(100, [&] { halted = Frame(game.bs_surface); });
        headless->inject(300, WM_RBUTTONDOWN, MK_RBUTTON, 0); // ends nothing
        headless->inject(400, WM_KEYDOWN, 'A', 0);
        headless->inject(3000, message, wparam, 0);
        EXPECT_EQ(Play(10000), 0);
        EXPECT_FALSE(headless->stopped_by_deadline());
        EXPECT_EQ(headless->elapsed(), 3000u);
        EXPECT_EQ(game.text_x, 40);                // nothing after the halt was typed
        EXPECT_EQ(Frame(game.bs_surface), halted); // and no cursor was drawn
    }
}
