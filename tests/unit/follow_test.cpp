// A saved place carried line by line into a new version of its script, on the cases of
// script_places.txt (whole saves and files: golden/story_updates.golden, cli/saves.txt).
#include "core.h"
#include "unit_support.h"

namespace {

// A row's script as a whole buffer, '/' as CR LF, ended by its mark, and the offset its '^' stood at
// (-1 without one).
std::pair<std::vector<unsigned char>, int> Marked(const std::string& text) {
    std::string bytes, run;
    // the text is UTF-8 but for an end mark of its own
    for (char c : text + '\xFF') {
        if (c != '/' && c != '\xFF') {
            run += c;
            continue;
        }
        bytes += Utf8_to_cp932(run.c_str()) + (c == '/' ? "\r\n" : "\xFF");
        run.clear();
    }
    bytes.pop_back();
    size_t at = bytes.find('^');
    if (at != std::string::npos) bytes.erase(at, 1);
    std::vector<unsigned char> buf(SCRIPT_BUF_SIZE, 0);
    std::copy(bytes.begin(), bytes.end(), buf.begin());
    buf[bytes.size()] = SCRIPT_END_MARK;
    return {buf, at == std::string::npos ? -1 : (int)at};
}

} // namespace

TEST(Follow, PlacesLandOnlyWhereTheirThreeLinesComeOnce) {
    const std::pair<Kept, std::string> names[] = {{Kept::NONE, ""},
                                                  {Kept::CHANGED, "changed"},
                                                  {Kept::REPEATED, "repeated"},
                                                  {Kept::PAST_END, "past end"}};
    for (const Row& c : Table("unit/script_places.txt")) {
        SCOPED_TRACE(c.where);
        auto [then, cur] = Marked(c[0]);
        auto [now, landing] = Marked(c[1]);
        Kept why = Kept::NONE;
        int at = Script_place(then.data(), cur, now.data(), &why);
        EXPECT_EQ(at, c[2].empty() ? landing : -1);
        auto name =
            std::find_if(std::begin(names), std::end(names), [&](const auto& n) { return n.first == why; });
        EXPECT_EQ(name == std::end(names) ? "?" : name->second, c[2]);
    }
}
