// Replay event lines: what is accepted, what is refused, and the buttons held in time. Where in a
// file a line is refused is replay.cli's to check, through the tool's --events.
#include "replay/events.h"

#include <gtest/gtest.h>

// Time, message and word of each message the lines give, one after another in delivery order.
static std::vector<uint32_t> Sent_for(const std::vector<std::string>& lines) {
    std::vector<Replay_event> events;
    for (const std::string& line : lines) {
        std::optional<Replay_event> event;
        std::string error;
        EXPECT_TRUE(Parse_event_line(line, &event, &error)) << line << ": " << error;
        events.push_back(event.value());
    }
    std::vector<uint32_t> sent;
    for (const Replay_message& m : To_messages(events)) sent.insert(sent.end(), {m.ms, m.message, m.wParam});
    return sent;
}

TEST(ReplayEvents, MalformedLinesAreRefusedWithAReason) {
    for (const char* line :
         {"x move 1 2", "-1 close", "4294967296 close", "5", "5 Move 1 2", "5 move 1", "5 move 1 2 3",
          "5 move 1 y", "5 move 70000 0", "5 lup -32769 0", "5 ldown 1 2 alt", "5 key", "5 key F13",
          "5 keyup RETURN SPACE", "5 close now"}) {
        std::optional<Replay_event> event;
        std::string error;
        EXPECT_FALSE(Parse_event_line(line, &event, &error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(ReplayEvents, ButtonsHeldFollowTimeOrderNotLineOrder) {
    const WPARAM L = MK_LBUTTON, R = MK_RBUTTON; // shift is no button, so it is not held
    EXPECT_EQ(Sent_for({"45 move 9 9", "20 rdown 3 4", "10 ldown 1 2 shift", "35 rup 7 8", "25 lup 5 6",
                        "15 move 2 3", "40 ldown 8 9 right", "30 move 6 7"}),
              (std::vector<uint32_t>{10, WM_LBUTTONDOWN, L | MK_SHIFT,
                                     15, WM_MOUSEMOVE,   L,
                                     20, WM_RBUTTONDOWN, L | R,
                                     25, WM_LBUTTONUP,   R,
                                     30, WM_MOUSEMOVE,   R,
                                     35, WM_RBUTTONUP,   0,
                                     40, WM_LBUTTONDOWN, L | R,
                                     45, WM_MOUSEMOVE,   L | R}));
}

TEST(ReplayEvents, SameTimeKeepsLineOrderAndKeysMapToTheirCodes) {
    EXPECT_EQ(Sent_for({"7 notify", "7 key RETURN", "0 key ESCAPE", "7 key SPACE", "7 close", "7 key 200",
                        "8 key CONTROL", "8 key F11", "8 key RETURN alt", "9 keyup CONTROL"}),
              (std::vector<uint32_t>{0, WM_KEYDOWN,    VK_ESCAPE,  7, MM_MCINOTIFY, 1,
                                     7, WM_KEYDOWN,    VK_RETURN,  7, WM_KEYDOWN,   VK_SPACE,
                                     7, WM_CLOSE,      0,          7, WM_KEYDOWN,   200,
                                     8, WM_KEYDOWN,    VK_CONTROL, 8, WM_KEYDOWN,   VK_F11,
                                     8, WM_SYSKEYDOWN, VK_RETURN,  9, WM_KEYUP,     VK_CONTROL}));
}
