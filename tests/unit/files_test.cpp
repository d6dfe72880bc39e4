// Paths as scripts write them (CP932, '\\', any case) found on a case-sensitive UTF-8 file system.
#include "headless.h"
#include "unit_support.h"

#include <sys/stat.h>

using Files = In_temp_dir;

TEST_F(Files, FindsScriptPathsInAnyLetterCaseAndInCp932) {
    for (const char* folder : {"gdat", "表"}) fs::create_directories(folder);
    for (const char* name : {"gdat/bg01.bgh", "gdat/背景.bgh", "gdat/表.bgh", "表/表.bgh"})
        ASSERT_TRUE(std::ofstream(name));
    // a pipe would block an ordinary open until a writer comes; /dev/zero would never end
    ASSERT_EQ(mkfifo("gdat/pipe.bgh", 0600), 0);
    fs::create_symlink("/dev/zero", "gdat/zero.bgh");
    fs::create_symlink("bg01.bgh", "gdat/link.bgh");
    std::vector<std::string> told; // what the headless backend tells a tool of each path sought
    Use_headless_backend().on_file(
        [&](const std::string& path, bool found) { told.push_back(path + (found ? " | 1" : " | 0")); });
    for (const Row& c : Table("unit/game_paths.txt")) {
        std::string cp932 = Utf8_to_cp932(c[0].c_str());
        told.clear();
        EXPECT_EQ(Game_file_path(cp932.c_str()), c[1]) << c.where;
        EXPECT_EQ(told, std::vector<std::string>{c[1] + " | " + c[3]}) << c.where;
        FILE* f = Game_fopen(cp932.c_str());
        EXPECT_EQ(f != nullptr, c[2] == "1") << c.where;
        if (f) std::fclose(f);
    }
    EXPECT_EQ(Game_fopen(nullptr), nullptr);
}
