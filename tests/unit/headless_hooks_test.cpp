// The headless backend's hooks for tools: calls at virtual times, and boxes told as they happen.
#include "headless.h"

#include <gtest/gtest.h>

TEST(HeadlessHooks, CallsRunOnceAtTheFirstTurnAtOrAfterTheirTime) {
    Headless& headless = Use_headless_backend(0xFFFFFFFEu); // the clock wraps on the way
    std::vector<std::pair<int, DWORD>> runs;
    auto note = [&](int id) { return [&, id] { runs.push_back({id, headless.elapsed()}); }; };
    for (auto [ms, id] : {std::pair{3u, 1}, {1u, 2}, {3u, 3}}) headless.call_at(ms, note(id));
    Msg msg;
    PeekMessage(&msg, PM_NOREMOVE);
    Sleep(2); // no turn at 1 ms
    PeekMessage(&msg, PM_NOREMOVE);
    headless.call_at(0, note(4)); // already past: the next turn
    Sleep(1);
    PeekMessage(&msg, PM_NOREMOVE);
    PeekMessage(&msg, PM_NOREMOVE);
    EXPECT_EQ(runs, (std::vector<std::pair<int, DWORD>>{{2, 2}, {4, 3}, {1, 3}, {3, 3}}));
}

TEST(HeadlessHooks, ListenerHearsEachBoxAsItIsRecorded) {
    Headless& headless = Use_headless_backend();
    std::vector<std::string> heard;
    headless.on_box([&](const Headless_box& box) {
        heard.push_back(std::to_string(box.ms) + " " + box.caption + "|" + box.text);
        EXPECT_EQ(headless.boxes().size(), heard.size());
    });
    MessageBox(nullptr, Sjis("一行目\n二行目"), Sjis("警告"), MB_OK);
    Sleep(4);
    MessageBox(nullptr, "b", "c", MB_OK);
    EXPECT_EQ(heard, (std::vector<std::string>{"0 警告|一行目\n二行目", "4 c|b"}));
}
