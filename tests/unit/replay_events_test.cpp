// The replay tool's event lines: what is accepted, what is refused and where, and the button
// words the mouse messages carry as the events unfold in time.
#include "replay/events.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::optional<Replay_event> Parsed(const std::string& line) {
    std::optional<Replay_event> event;
    std::string error;
    EXPECT_TRUE(Parse_event_line(line, &event, &error)) << line << ": " << error;
    return event;
}

std::vector<Replay_message> Messages(const std::vector<std::string>& lines) {
    std::vector<Replay_event> events;
    for (const std::string& line : lines)
        events.push_back(*Parsed(line));
    return To_messages(events);
}

} // namespace

TEST(ReplayEvents, LineWithExtrasInAnyOrderAndATrailingComment) {
    auto e = Parsed("\t120  ldown 5 65535 ctrl shift # the second press");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->ms, 120u);
    EXPECT_EQ(e->kind, Event_kind::ldown);
    EXPECT_EQ(e->y, 65535);
    EXPECT_TRUE(e->shift && e->ctrl && !e->right);
    EXPECT_FALSE(Parsed("   # nothing but a note"));
    EXPECT_FALSE(Parsed("\r"));
    EXPECT_EQ(Parsed("4294967295 key 65\r")->key, 65u);
}

TEST(ReplayEvents, MalformedLinesAreRefusedWithAReason) {
    for (const char* line :
         {"x move 1 2", "-1 close", "+1 close", "4294967296 close", "5", "5 jump", "5 Move 1 2", "5 move 1",
          "5 move 1 2 3", "5 move 1 y", "5 move 70000 0", "5 lup -32769 0", "5 ldown 1 2 alt", "5 key",
          "5 key F1", "5 key RETURN SPACE", "5 close now", "5 notify 1"}) {
        std::optional<Replay_event> event;
        std::string error;
        EXPECT_FALSE(Parse_event_line(line, &event, &error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(ReplayEvents, FileErrorNamesTheLine) {
    std::istringstream in("1 close\n# note\n\n2 move 1 two\n3 close\n");
    std::vector<Replay_event> events;
    std::string error;
    EXPECT_FALSE(Parse_event_lines(in, "input.txt", &events, &error));
    EXPECT_EQ(error.rfind("input.txt:4: ", 0), 0u) << error;
}

TEST(ReplayEvents, ButtonsHeldFollowTimeOrderNotLineOrder) {
    auto m = Messages({"45 move 9 9", "20 rdown 3 4", "10 ldown 1 2 shift", "35 rup 7 8", "25 lup 5 6",
                       "15 move 2 3", "40 ldown 8 9 right", "30 move 6 7"});
    std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT},
        {WM_MOUSEMOVE, MK_LBUTTON}, // shift is not a button
        {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON},
        {WM_LBUTTONUP, MK_RBUTTON},
        {WM_MOUSEMOVE, MK_RBUTTON},
        {WM_RBUTTONUP, 0},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON},
    };
    ASSERT_EQ(m.size(), expected.size());
    for (size_t i = 0; i < m.size(); i++) {
        EXPECT_EQ(m[i].ms, 10 + 5 * i) << i;
        EXPECT_EQ(std::make_pair(m[i].message, m[i].wParam), expected[i]) << i;
    }
    EXPECT_EQ(m[3].lParam, MAKELPARAM(5, 6));
}

TEST(ReplayEvents, SameTimeKeepsLineOrderAndKeysMapToTheirCodes) {
    auto m = Messages({"7 notify", "7 key RETURN", "0 key ESCAPE", "7 key SPACE", "7 close", "7 key 200"});
    std::vector<std::pair<UINT, WPARAM>> expected = {{WM_KEYDOWN, VK_ESCAPE}, {MM_MCINOTIFY, 1},
                                                     {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_SPACE},
                                                     {WM_CLOSE, 0},           {WM_KEYDOWN, 200}};
    ASSERT_EQ(m.size(), expected.size());
    for (size_t i = 0; i < m.size(); i++)
        EXPECT_EQ(std::make_pair(m[i].message, m[i].wParam), expected[i]) << i;
}
