// The demo's scripts are kept twice: the UTF-8 source that people read and edit, and the
// Shift-JIS, CR LF file the engine plays. They must never drift apart.
#include "platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace

TEST(DemoScripts, EachPlayedScriptIsItsUtf8SourceInShiftJisWithCrLf) {
    namespace fs = std::filesystem;
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "txt")) {
        std::string name = entry.path().filename().string();
        if (!name.ends_with(".utf8.txt")) continue;
        std::string source = Read(entry.path());
        std::string crlf;
        for (char c : source) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        fs::path played = entry.path().parent_path() / (name.substr(0, name.size() - 9) + ".tda");
        ASSERT_TRUE(fs::exists(played)) << played;
        EXPECT_EQ(Read(played), Utf8_to_cp932(crlf.c_str())) << played << " differs from " << name << ": run make scripts";
        checked++;
    }
    EXPECT_GE(checked, 2);
}
