// The reader's saves from inside: bad ones refused, older and later builds' read, slot files written
// whole, none under a box (restores, keys, skipping, the window's size: golden/reader.golden).
#include "game_folder.h"
#include "keys.h"
#include "save_entries.h"
#include "save_format.h"
#include "slots.h"
#include "state_lines.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <random>

namespace {

class Reader_test : public Game_folder_test {
  protected:
    // A run from the start with these event lines, to ms.
    void Run(const std::string& events, DWORD ms) {
        Restart();
        Events(events);
        headless->stop_at(ms);
        Main_play(&instance, Play_options{}, "veltrane");
    }

    // Where the data of a save body's entry begins, and the body without that entry.
    static size_t Entry_at(const std::string& body, const char* name) {
        Entries entries;
        EXPECT_TRUE(Read_entries(body, &entries));
        return entries.at(name).data() - body.data();
    }
    static std::string Without(const std::string& body, const char* name) {
        size_t at = Entry_at(body, name), size = 0;
        std::memcpy(&size, body.data() + at - 4, 4);
        return body.substr(0, at - 4 - std::strlen(name) - 1) + body.substr(at + size);
    }
};

} // namespace

TEST_F(Reader_test, BadSaveFilesAreRefusedAndTheStoryIsUntouched) {
    Write_script(Cp("あいう#wait\r\n#flag_on 3\r\nえお#wait\r\n"));
    Run("", 500);
    const std::string id = "story-0123456789abcdef";
    const std::string good = Save_encode(id, GetTickCount());
    const char* broken = Sjis("セーブデータが壊れています");
    Run("600 ldown 0 0", 900); // the story moves on, so that any restore would show
    ASSERT_EQ(game.flags[3], 1);
    auto before = State_lines::Of_game();
    auto refused = [&](const std::string& bytes, const char* reason, const std::string& what) {
        const char* why = Save_restore(bytes, id, GetTickCount());
        EXPECT_TRUE(why && (!reason || std::strcmp(why, reason) == 0))
            << what << ": " << (why ? why : "loaded");
    };
    for (size_t n = 0; n < good.size(); n++)
        refused(good.substr(0, n), broken, "cut at " + std::to_string(n));
    std::mt19937 random(7);
    for (int i = 0; i < 600; i++) {
        std::string bad = good;
        size_t at = i < 88 ? i : random() % good.size();
        bad[at] = (char)(bad[at] ^ (1 + random() % 255));
        refused(bad, nullptr, "byte " + std::to_string(at) + " changed");
    }
    refused(good + '\0', broken, "a byte more");
    refused("", broken, "empty");
    refused("P4\n1 1\n\0", Sjis("セーブデータではありません"), "not a save");
    refused(good.substr(0, 8) + '\3' + good.substr(9), Sjis("新しい版のセーブデータです"), "newer");
    EXPECT_STREQ(Save_restore(good, "another-id", GetTickCount()), Sjis("別のゲームのセーブデータです"));

    // states that pass the checksum but that the engine cannot run: an entry's first bytes changed
    std::string state;
    ASSERT_EQ(Save_unpack(good, id, &state), nullptr);
    auto with = [&](const char* name, std::string bytes) {
        size_t at = Entry_at(state, name);
        return state.substr(0, at) + bytes + state.substr(at + bytes.size());
    };
    auto num = [](int32_t n) { return std::string((const char*)&n, 4); };
    std::string twice = state, cut = Without(state, "cur");
    Put_entry(twice, "cur", "\0\0\0\0", 4);
    Put_entry(cut, "cur", "\0\0", 2);
    // numbers no script can set, a mode, a sound's state or a flag at 2 among them
    for (auto [name, n] :
         {std::pair("cur", -1),   {"cur", 65536},     {"change_kind", 9},  {"text_run", 2},
          {"delay_run", 2},       {"wait_run", 2},    {"halt_run", 2},     {"page_run", 2},
          {"change_run", 2},      {"select_run", 2},  {"fade_out_run", 2}, {"fade_in_run", 2},
          {"menu_state", 1},      {"text_wait", -1},  {"text_wait", 5001}, {"blink_interval", -1},
          {"change_interval", 0}, {"bgm_playing", 2}, {"bgm_kind", 2},     {"se_playing", 2},
          {"se_loop", 2}})
        refused(Save_pack(with(name, num(n)), id), broken, name + (" " + std::to_string(n)));
    for (auto [bad, what] : {std::pair(with("flags", "\2"), "flag 0 at 2"),
                             {with("word_buf", std::string(512, 'x')), "a word with no end"},
                             {Without(state, "bs_surface"), "no BS"},
                             {twice, "an entry twice"},
                             {cut, "an entry of another size"},
                             {state.substr(0, state.size() - 1), "short"},
                             {state + "x", "long"}})
        refused(Save_pack(bad, id), broken, what);
    EXPECT_EQ(State_lines::Of_game(), before);
    EXPECT_EQ(Save_restore(Save_pack(state, id), id, GetTickCount()), nullptr);
    EXPECT_EQ(game.flags[3], 0);
}

TEST_F(Reader_test, SavesOfTheFirstFormatOrWithoutAFieldRestoreTheStateTheirStoryReaches) {
    // data/v1_click_wait.sav holds this story at 1200 ms, saved by the first format; its text is black
    // on black, so that its pictures hang on the cursor alone and never on the fonts installed
    Write_script(Cp("#play_midi theme.mid\r\n#set_text_color 0,0,0,0,0,0\r\n#set_text_wait 20\r\n"
                    "#set_text_area 40,60,600,440\r\n#flag_on 3\r\n#flag_on 200\r\nあいうえお#wait\r\n"
                    "かきく#wait\r\n"));
    Run("300 move 123 45", 1200);
    const std::string id = "story-0123456789abcdef";
    auto played = State_lines::Of_game();
    std::string body;
    ASSERT_EQ(Save_unpack(Save_encode(id, GetTickCount()), id, &body), nullptr);
    // as a build with two fields more reads this save without them: each at its start value, the
    // flags cleared and the blink's time the restore's; and a later build's field passed over
    body = Without(Without(body, "flags"), "blink_tick");
    Put_entry(body, "later_field", "\1", 1);
    std::memset(game.flags, 0, sizeof game.flags);
    game.blink_tick = GetTickCount();
    auto started = State_lines::Of_game();

    std::ifstream file(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/data/v1_click_wait.sav",
                       std::ios::binary);
    const std::string v1{std::istreambuf_iterator<char>(file), {}};
    for (auto [save, expected] : {std::pair(v1, played), {Save_pack(body, id), started}}) {
        Write_script(Cp("ほか#wait\r\n"));
        Run("", 3000);
        ASSERT_EQ(Save_restore(save, id, GetTickCount()), nullptr);
        EXPECT_EQ(State_lines::Of_game(), expected);
    }
}

TEST_F(Reader_test, SlotFilesAreWrittenWholeOrNotAtAll) {
    Write_script(Cp("あいう#wait\r\n"));
    Run("", 500);
    reader.game_id = "story-0123456789abcdef";
    fs::path saves = dir / "data/veltrane/saves" / reader.game_id;
    EXPECT_STREQ(Restore_slot(4), Sjis("セーブデータがありません"));
    ASSERT_EQ(Save_to_slot(4), nullptr);

    // a disk that fills mid-write: the old save stays as it was, and no half-written file is left
    game.flags[9] = 1;
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    rlimit full{1000, limit.rlim_max}; // the soft limit only: a hard one lowered may not come back
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    EXPECT_STREQ(Save_to_slot(4), Sjis("保存できませんでした"));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(std::distance(fs::directory_iterator(saves), fs::directory_iterator{}), 1);
    ASSERT_EQ(Restore_slot(4), nullptr);
    EXPECT_EQ(game.flags[9], 0);

    // under a message box, nothing is saved
    Box_open("", "");
    Reader_proc(game.main_window, WM_KEYDOWN, VK_SHIFT, 0);
    Reader_proc(game.main_window, WM_KEYDOWN, '6', 0);
    Box_close();
    Reader_requests();
    EXPECT_FALSE(fs::exists(saves / "6.sav"));
    fs::create_directory(saves / "5.sav");
    EXPECT_STREQ(Restore_slot(5), Sjis("セーブデータが読めません"));
    // a file where the folder of saves should be
    reader.game_id = "blocked";
    std::ofstream(dir / "data/veltrane/saves/blocked") << "x";
    EXPECT_STREQ(Save_to_slot(1), Sjis("保存先のフォルダが作れません"));
}
