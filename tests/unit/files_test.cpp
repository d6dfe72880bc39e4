// Game-folder paths as scripts write them (CP932, backslashes, any letter case) found among
// real files on a case-sensitive, UTF-8 file system.
#include "unit_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class Files : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        namespace fs = std::filesystem;
        fs::create_directories(dir.path() / "gdat");
        fs::create_directories(dir.path() / "表");
        ASSERT_TRUE(Write_file(dir / "gdat/bg01.bgh", {'b', 'g'}));
        ASSERT_TRUE(Write_file(dir / "gdat/背景.bgh", {'h', 'k'}));
        ASSERT_TRUE(Write_file(dir / "gdat/表.bgh", {'h', 'y'}));
        ASSERT_TRUE(Write_file(dir / "表/表.bgh", {'h', 'h'}));
        cwd.emplace(dir.path());
    }

    // What Game_fopen reads from the path; empty when it opens nothing.
    static std::string Contents(const std::string& path) {
        FILE* f = Game_fopen(path.c_str(), "rb");
        if (!f) return "";
        std::string out;
        for (int c; (c = std::fgetc(f)) != EOF;)
            out += (char)c;
        std::fclose(f);
        return out;
    }

    Temp_dir dir;
    std::optional<Cwd_guard> cwd; // after dir, so that the folder is left before it is removed
};

} // namespace

TEST_F(Files, FindsScriptPathsInAnyLetterCase) {
    EXPECT_EQ(Game_file_path(".\\gdat\\bg01.bgh"), "./gdat/bg01.bgh");
    EXPECT_EQ(Contents(".\\gdat\\bg01.bgh"), "bg");
    EXPECT_EQ(Game_file_path("GDAT\\BG01.BGH"), "gdat/bg01.bgh");
    EXPECT_EQ(Game_file_path(".\\Gdat\\Bg01.bgh"), "./gdat/bg01.bgh");
    EXPECT_EQ(Contents("GDAT\\BG01.BGH"), "bg");

    // nothing matches: the converted path comes back, and nothing opens
    EXPECT_EQ(Game_file_path("gdat\\bg02.bgh"), "gdat/bg02.bgh");
    EXPECT_EQ(Game_file_path("none\\bg01.bgh"), "none/bg01.bgh");
    EXPECT_EQ(Game_fopen("gdat\\bg02.bgh", "rb"), nullptr);
}

TEST_F(Files, FindsUtf8NamesFromTheirCp932Spelling) {
    std::string haikei = Utf8_to_cp932(".\\gdat\\背景.bgh");
    ASSERT_NE(haikei, ".\\gdat\\背景.bgh") << "the name is asked for in CP932";
    EXPECT_EQ(Game_file_path(haikei.c_str()), "./gdat/背景.bgh");
    EXPECT_EQ(Contents(haikei), "hk");
    EXPECT_EQ(Game_file_path(Utf8_to_cp932("GDAT\\背景.BGH").c_str()), "gdat/背景.bgh");

    // the second byte of "表" is 0x5C, the backslash: it is not a separator
    std::string hyou = Utf8_to_cp932("gdat\\表.bgh");
    ASSERT_NE(hyou.find("\x95\x5C.bgh"), std::string::npos);
    EXPECT_EQ(Game_file_path(hyou.c_str()), "gdat/表.bgh");
    EXPECT_EQ(Contents(hyou), "hy");
    // while a real separator right after it still is
    EXPECT_EQ(Game_file_path(Utf8_to_cp932(".\\表\\表.bgh").c_str()), "./表/表.bgh");
    EXPECT_EQ(Contents(Utf8_to_cp932("表\\表.bgh")), "hh");
}

TEST_F(Files, OpensOnlyFiles) {
    EXPECT_EQ(Game_fopen("gdat", "rb"), nullptr);
    EXPECT_EQ(Game_fopen(".\\GDAT\\", "rb"), nullptr);
    EXPECT_EQ(Game_fopen(Utf8_to_cp932("表").c_str(), "rb"), nullptr);
    EXPECT_EQ(Game_fopen(".", "rb"), nullptr);
    EXPECT_EQ(Game_fopen("", "rb"), nullptr);
    EXPECT_EQ(Game_fopen(nullptr, "rb"), nullptr);
    EXPECT_EQ(Contents(".\\gdat\\bg01.bgh"), "bg");
}
