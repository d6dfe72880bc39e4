// Replay event lines: what is accepted, what is refused, and the buttons held in time.
#include "replay/events.h"
#include "unit_support.h"

#include <map>

#define NAMED(name) std::pair<const std::string, uint32_t>(#name, name)
static const std::map<std::string, uint32_t> kNames{
    NAMED(WM_MOUSEMOVE), NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP),  NAMED(WM_RBUTTONDOWN),
    NAMED(WM_RBUTTONUP), NAMED(WM_KEYDOWN),     NAMED(WM_KEYUP),      NAMED(WM_SYSKEYDOWN),
    NAMED(WM_CLOSE),     NAMED(MM_MCINOTIFY),   NAMED(MK_LBUTTON),    NAMED(MK_RBUTTON),
    NAMED(MK_SHIFT),     NAMED(VK_ESCAPE),      NAMED(VK_RETURN),     NAMED(VK_SPACE),
    NAMED(VK_CONTROL),   NAMED(VK_F11),         NAMED(WM_MOUSEWHEEL), NAMED(VK_PRIOR),
    NAMED(VK_NEXT)};

TEST(ReplayEvents, LinesRefusedAndMessagesSentAsTheTableSays) {
    for (const Row& c : Table("unit/replay_events.txt")) {
        std::vector<Replay_event> events;
        std::istringstream lines(c[1]);
        for (std::string line; std::getline(lines, line, ';');) {
            std::optional<Replay_event> event;
            std::string error;
            EXPECT_EQ(Parse_event_line(line.substr(line.find_first_not_of(' ')), &event, &error),
                      c[0] == "sent")
                << c.where << ": " << line << ": " << error;
            EXPECT_EQ(error.empty(), c[0] == "sent") << c.where << ": " << line;
            if (event) events.push_back(*event);
        }
        std::vector<uint32_t> sent, want;
        for (const Replay_message& m : To_messages(events))
            sent.insert(sent.end(), {m.ms, m.message, m.wParam});
        std::istringstream words(c[0] == "sent" ? c[2] : "");
        for (std::string word; words >> word;) {
            std::istringstream parts(word.substr(0, word.find(',')));
            uint32_t v = 0;
            for (std::string part; std::getline(parts, part, '+');)
                v += isdigit(part[0]) ? std::stoul(part) : kNames.at(part);
            want.push_back(v);
        }
        EXPECT_EQ(sent, want) << c.where;
    }
}
