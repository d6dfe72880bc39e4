// Each demo script played (Shift-JIS, CR LF) must be its UTF-8 source, converted.
#include "unit_support.h"

TEST(DemoScripts, EachPlayedScriptIsItsUtf8SourceInShiftJisWithCrLf) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "txt")) {
        std::string name = entry.path().filename().string(), crlf;
        if (!name.ends_with(".utf8.txt")) continue;
        for (char c : Read(entry.path())) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        fs::path played = entry.path().parent_path() / (name.substr(0, name.size() - 9) + ".tda");
        EXPECT_EQ(Read(played), Utf8_to_cp932(crlf.c_str()))
            << played << " differs from " << name << ": run make scripts";
        checked++;
    }
    EXPECT_GE(checked, 2);
}
