// Paths as scripts write them (CP932, '\\', any case) found on a case-sensitive UTF-8 file system.
#include "unit_support.h"

#include <sys/stat.h>

class Files : public In_temp_dir {
  protected:
    void SetUp() override {
        for (const char* folder : {"gdat", "表"}) fs::create_directories(folder);
        for (const char* name : {"gdat/bg01.bgh", "gdat/背景.bgh", "gdat/表.bgh", "表/表.bgh"})
            ASSERT_TRUE(std::ofstream(name));
        // a pipe would block an ordinary open until a writer comes; /dev/zero would never end
        ASSERT_EQ(mkfifo("gdat/pipe.bgh", 0600), 0);
        fs::create_symlink("/dev/zero", "gdat/zero.bgh");
        fs::create_symlink("bg01.bgh", "gdat/link.bgh");
    }
};

TEST_F(Files, FindsScriptPathsInAnyLetterCaseAndInCp932) {
    // asked for in CP932, the path found, whether it opens
    const std::tuple<const char*, const char*, bool> cases[] = {
        {".\\gdat\\背景.bgh", "./gdat/背景.bgh", true},
        {"GDAT\\背景.BGH", "gdat/背景.bgh", true},
        // the second byte of "表" is 0x5C, the backslash, and no separator; a real one after it is
        {"gdat\\表.bgh", "gdat/表.bgh", true},
        {".\\表\\表.bgh", "./表/表.bgh", true},
        // nothing matches: the converted path comes back
        {"gdat\\bg02.bgh", "gdat/bg02.bgh", false},
        {"none\\bg01.bgh", "none/bg01.bgh", false},
        // only files open
        {".\\GDAT\\", "./gdat", false},
        {"gdat\\pipe.bgh", "gdat/pipe.bgh", false},
        {"gdat\\zero.bgh", "gdat/zero.bgh", false},
        {"gdat\\link.bgh", "gdat/link.bgh", true},
        {"表", "表", false},
        {"", "", false},
    };
    for (auto [utf8, found, opens] : cases) {
        std::string cp932 = Utf8_to_cp932(utf8);
        EXPECT_EQ(Game_file_path(cp932.c_str()), found) << utf8;
        FILE* f = Game_fopen(cp932.c_str());
        EXPECT_EQ(f != nullptr, opens) << utf8;
        if (f) std::fclose(f);
    }
    EXPECT_EQ(Game_fopen(nullptr), nullptr);
}
