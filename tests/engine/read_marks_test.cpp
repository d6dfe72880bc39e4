// Read marks and skip mode over several runs of one game folder: the marks kept from one run to
// the next, an edited script keeping the marks of its unchanged pages, and a bad marks file ignored
// and left as it was until the next mark. One run's skip mode: golden/read_skip.golden.
#include "game_folder.h"
#include "read_marks.h"
#include "skip_mode.h"
#include "slots.h"

#include <fstream>

namespace {

// 200 ms a character: a page skip mode passes is over in 60 ms, one it stops at takes seconds
const std::string SCRIPT = "#set_text_wait 200\r\none#wait\r\ntwo#wait\r\nthree#wait\r\nfour#wait\r\n";

class Read_marks_test : public Game_folder_test {
  protected:
    // A run from the start with these events, to ms, its marks in read/.
    void Run(const std::string& events, DWORD ms) {
        Restart();
        reader.read_marks_dir = (dir / "read").string();
        Events(events);
        headless->stop_at(ms);
        Main_play(&instance, Play_options{}, "veltrane");
    }

    fs::path Marks_file() const { return dir / "read" / Folder_game_id(fs::current_path()); }

    static std::string Bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Skip mode stopped at the page that starts with text, none of whose characters after the first
    // is typed yet.
    static void Expect_stopped_at(const std::string& script, const std::string& text) {
        EXPECT_FALSE(reader.skip_mode);
        EXPECT_EQ(reader.notice_text, Sjis("未読の文章でスキップを止めました"));
        EXPECT_EQ(game.wait_run, 0);
        EXPECT_GE(game.cur, Pos(script, text) - 2);
        EXPECT_LE(game.cur, Pos(script, text) + 1);
    }

    static int Pos(const std::string& script, const std::string& text) { return (int)script.find(text); }
};

} // namespace

TEST_F(Read_marks_test, MarksLastFromRunToRunAndAnEditKeepsThoseOfTheUnchangedPages) {
    Write_script(SCRIPT);
    // one, two and three read; the run ends at three's wait
    Run("1000 ldown 0 0\n2000 ldown 0 0\n", 3500);
    EXPECT_TRUE(fs::is_regular_file(Marks_file()));
    Run("10 key TAB\n", 400);
    Expect_stopped_at(SCRIPT, "four");

    // two edited, and three moved by it: one passes, two stops skip mode; once read, three passes
    std::string edited = "#set_text_wait 200\r\none#wait\r\ntwo, edited#wait\r\nthree#wait\r\nfour#wait\r\n";
    Write_script(edited);
    Run("10 key TAB\n", 300);
    Expect_stopped_at(edited, "two, edited");
    Run("10 key TAB\n3000 key TAB\n", 3300);
    Expect_stopped_at(edited, "four");

    // with skip_all, skip mode passes unread pages too, and stops at the choice
    Write_script(edited + "#select3 {\r\na\r\nb\r\nc\r\n/A/B/C}\r\n");
    fs::create_directories(dir / "config/veltrane");
    std::ofstream(dir / "config/veltrane" / (Folder_game_id(fs::current_path()) + ".conf")) << "skip_all 1\n";
    fs::remove(Marks_file());
    Run("10 key TAB\n", 600);
    EXPECT_EQ(game.select_run, 1);
    EXPECT_FALSE(reader.skip_mode);
}

TEST_F(Read_marks_test, ABadMarksFileIsIgnoredAndLeftAsItWasUntilTheNextMark) {
    Write_script(SCRIPT);
    Run("", 1000); // one read
    std::string good = Bytes(Marks_file());
    std::vector<uint64_t> keys;
    ASSERT_TRUE(Read_marks_decode(good, Folder_game_id(fs::current_path()), &keys));
    ASSERT_EQ(keys.size(), 1u);
    // the header's count at 16, its keys from 20
    std::string huge = good.substr(0, 20) + std::string(8 * (READ_MARKS_MOST + 1), '\x01');
    std::string too_many = good;
    too_many[18] = '\x10';
    std::string twice = good + good.substr(20);
    twice[16] = 2;
    for (const auto& [why, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"empty", ""},
             {"truncated", good.substr(0, good.size() - 1)},
             {"a header alone", good.substr(0, 19)},
             {"garbage", std::string(good.size(), '\x5a')},
             {"another game's", Read_marks_encode("harbor-0123456789abcdef", keys)},
             {"a newer version", good.substr(0, 4) + '\x02' + good.substr(5)},
             {"a count past its keys", too_many},
             {"a key twice", twice},
             {"huge", huge}}) {
        SCOPED_TRACE(why);
        Write_file(Marks_file(), bytes);
        Run("10 key TAB\n", 100);
        Expect_stopped_at(SCRIPT, "one");
        EXPECT_EQ(Bytes(Marks_file()), bytes);
        Run("", 1000);
        EXPECT_EQ(Bytes(Marks_file()), good);
    }
    // the good file itself: one passes
    Run("10 key TAB\n", 300);
    Expect_stopped_at(SCRIPT, "two");
    // a folder in the file's place is never read nor replaced
    fs::remove(Marks_file());
    fs::create_directory(Marks_file());
    Run("10 key TAB\n", 1000);
    EXPECT_TRUE(fs::is_directory(Marks_file()));
}
