// The reader's comforts: a restore resumes exactly where the save was, a bad save file is refused
// with the story untouched, skip passes pages but never a choice, and the reader's keys never reach
// the engine.
#include "game_folder.h"
#include "reader.h"

#include <sys/resource.h>

#include <csignal>
#include <functional>
#include <map>
#include <random>

namespace {

struct Input {
    DWORD ms;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Reader_test : public Game_folder_test {
  protected:
    void SetUp() override {
        Game_folder_test::SetUp();
        fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI", dir / "MIDI");
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        reader = Reader{};
    }

    // A run from the start with these inputs, to ms; set_up runs first on the new backend.
    void Run(const std::vector<Input>& inputs, DWORD ms, const std::function<void()>& set_up = nullptr) {
        Restart();
        reader = Reader{};
        if (set_up) set_up();
        for (const Input& i : inputs) headless->inject(i.ms, i.message, i.wParam, i.lParam);
        Play(ms);
    }

    // What the reader sees and the story keeps, every time as its age now.
    static auto Seen() {
        const GameState& g = game;
        DWORD now = GetTickCount();
        std::vector<int64_t> fields{g.cur,         g.text_x,     g.text_y,     g.text_run,     g.wait_run,
                                    g.page_run,    g.change_run, g.select_run, g.fade_out_run, g.fade_in_run,
                                    g.menu_state,  g.wait_phase, g.page_phase, g.change_step,  g.fade_percent,
                                    g.bgm_playing, g.mouse_x,    g.mouse_y};
        for (DWORD tick : {g.text_tick, g.blink_tick, g.change_tick, g.fade_tick, g.menu_tick, g.delay_tick})
            fields.push_back(now - tick);
        std::vector<std::vector<uint32_t>> pictures;
        for (const Surface* s :
             {g.bs_surface, g.bg_surface, g.menu_surface, g.select_normal, g.select_hilite, g.fade_surface})
            pictures.push_back(s ? Frame(s) : std::vector<uint32_t>{});
        return std::tuple(fields, std::vector<int>(g.flags, g.flags + 256), pictures);
    }

    // The music commands sent at or after ms.
    Lines Music_since(DWORD ms) const {
        Lines out;
        for (const Headless_mci& m : headless->mci())
            if (m.ms >= ms) out.push_back(m.command);
        return out;
    }
};

using Reader_keys = Reader_test;

const Input CLICK{0, WM_LBUTTONDOWN, MK_LBUTTON, 0};

Input Timed(DWORD ms, Input i) {
    i.ms = ms;
    return i;
}
Input Key(DWORD ms, WPARAM key, UINT message = WM_KEYDOWN) { return Input{ms, message, key, 0}; }

} // namespace

TEST_F(Reader_test, ARestoreResumesAWaitATransitionAFadeAChoiceAndAStartMenuExactly) {
    Write_script(
        Cp("#play_midi theme.mid\r\n#set_text_wait 20\r\nあいうえおかきくけこ#wait\r\n#flag_on 7\r\n"
           "さしすせそ#g_change SPREAD\r\nたちつ#fade_out\r\n#fade_in\r\n"
           "#select3 {\r\none\r\ntwo\r\nthree\r\n/#flag_on 10\r\nA#wait\r\n/B#wait\r\n/C#wait\r\n}\r\n"
           "#start_menu 300,200\r\nなに#wait\r\n"));
    // where each task first runs, and where the first choice lies, on the way the inputs lead
    std::vector<Input> inputs{Timed(1500, CLICK)};
    std::map<std::string, DWORD> first;
    auto watch = [&] {
        headless->on_turn([&] {
            DWORD now = headless->elapsed();
            const std::pair<const char*, bool> runs[] = {
                {"wait", game.wait_run == 1},         {"change", game.change_run == 1},
                {"fade_out", game.fade_out_run == 1}, {"fade_in", game.fade_in_run == 1},
                {"select", game.select_run == 1},     {"menu", game.menu_state == MENU_SHOWN}};
            for (auto [name, on] : runs)
                if (on && !first.count(name)) first[name] = now;
        });
    };
    Run(inputs, 7000, watch);
    ASSERT_EQ(game.select_run, 1);
    Rect one = game.choice_rect[0];
    LPARAM on_one = MAKELPARAM((one.left + one.right) / 2, (one.top + one.bottom) / 2);
    inputs.insert(inputs.end(), {{8000, WM_MOUSEMOVE, 0, on_one},
                                 {8100, WM_LBUTTONDOWN, MK_LBUTTON, on_one},
                                 {8101, WM_LBUTTONUP, 0, on_one},
                                 Timed(9000, CLICK),
                                 {11000, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300)},
                                 {11100, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300)},
                                 {11101, WM_LBUTTONUP, 0, MAKELPARAM(400, 300)}});
    Run(inputs, 10500, watch);
    headless->on_turn(nullptr);
    ASSERT_EQ(first.size(), 6u);

    // the restore comes AWAY after the save; compared LOOK after each
    constexpr DWORD AWAY = 3000, LOOK = 250;
    const std::pair<const char*, DWORD> saves[] = {{"wait", 100},    {"change", 300}, {"fade_out", 400},
                                                   {"fade_in", 400}, {"select", 500}, {"menu", 100}};
    for (auto [name, after] : saves) {
        DWORD save = first[name] + after;
        Run(inputs, save + LOOK);
        auto expected = Seen();
        // the same inputs up to the save; then play on (a click, which sets flag 7 after the first
        // wait), the restore, and from there what came after the save, moved on by AWAY
        std::vector<Input> then{Key(save, VK_F5), Timed(save + 50, CLICK), Key(save + AWAY, VK_F9)};
        for (const Input& i : inputs) then.push_back(i.ms <= save ? i : Timed(i.ms + AWAY, i));
        Run(then, save + AWAY + LOOK);
        EXPECT_EQ(Seen(), expected) << name;
        EXPECT_EQ(Boxes(), Lines{}) << name;
        EXPECT_EQ(Music_since(save + AWAY), (Lines{"stop _MIDI_", "close _MIDI_", "close _MIDI_",
                                                   "open .\\MIDI\\theme.mid type sequencer alias _MIDI_",
                                                   "capability _MIDI_ can play wait", "play _MIDI_ notify"}))
            << name;
    }
}

TEST_F(Reader_test, BadSaveFilesAreRefusedAndTheStoryIsUntouched) {
    Write_script(Cp("あいう#wait\r\n#flag_on 3\r\nえお#wait\r\n"));
    Run({}, 500);
    const std::string id = "story-0123456789abcdef";
    const std::string good = Save_encode(id, GetTickCount());
    const char* broken = Sjis("セーブデータが壊れています");
    Run({Timed(600, CLICK)}, 900); // the story moves on, so that any restore would show
    ASSERT_EQ(game.flags[3], 1);
    auto before = Seen();
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
    std::string newer = good;
    newer[8] = 2;
    refused(newer, Sjis("新しい版のセーブデータです"), "newer");
    EXPECT_STREQ(Save_restore(good, "another-id", GetTickCount()), Sjis("別のゲームのセーブデータです"));

    // states that pass the checksum but that the engine cannot run
    std::string state;
    ASSERT_EQ(Save_unpack(good, id, &state), nullptr);
    const size_t CUR = 4 * 30 + SCRIPT_BUF_SIZE; // after 30 numbers and ticks, and the script
    auto with = [&](size_t at, std::string bytes) {
        return state.substr(0, at) + bytes + state.substr(at + bytes.size());
    };
    for (auto [bad, what] : {std::pair(with(CUR, std::string("\xff\xff\xff\xff", 4)), "cur -1"),
                             {with(CUR, std::string("\x00\x00\x01\x00", 4)), "cur 65536"},
                             {with(4 * 24, std::string("\x09\x00\x00\x00", 4)), "change kind 9"},
                             {with(CUR + 4, std::string(512, 'x')), "a word with no end"},
                             {state.substr(0, state.size() - 1), "short"},
                             {state + "x", "long"}})
        refused(Save_pack(bad, id), broken, what);
    EXPECT_EQ(Seen(), before);
    EXPECT_EQ(Save_restore(Save_pack(state, id), id, GetTickCount()), nullptr);
    EXPECT_EQ(game.flags[3], 0);
}

TEST_F(Reader_test, SlotFilesAreWrittenWholeOrNotAtAll) {
    Write_script(Cp("あいう#wait\r\n"));
    Run({}, 500);
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

    fs::create_directory(saves / "5.sav");
    EXPECT_STREQ(Restore_slot(5), Sjis("セーブデータが読めません"));
    // a file where the folder of saves should be
    reader.game_id = "blocked";
    std::ofstream(dir / "data/veltrane/saves/blocked") << "x";
    EXPECT_STREQ(Save_to_slot(1), Sjis("保存先のフォルダが作れません"));

    // settings: malformed or out of range gives the defaults, never a crash
    fs::create_directories(dir / "config/veltrane");
    for (auto [text, width, full] : {std::tuple("width 1280\nheight 960\nfullscreen 1\n", 1280, true),
                                     {"height 960\nwidth 1280", 1280, false},
                                     {"width 1280\n", 0, false},
                                     {"width 99999\nheight 960\n", 0, false},
                                     {"width 12x0\nheight 960\n", 0, false},
                                     {"\xff\xfe\0\n", 0, false}}) {
        std::ofstream(dir / "config/veltrane/blocked.conf", std::ios::binary) << text;
        Settings s = Settings_read();
        EXPECT_EQ(std::tuple(s.width, s.fullscreen), std::tuple(width, full)) << text;
    }
}

TEST_F(Reader_keys, CtrlSkipsPagesAndWaitsButNeverAChoiceAndTypingComesBackOnRelease) {
    std::string line(60, 'x');
    Write_script("#set_text_wait 50\r\n" + line + "#wait\r\n" + line + "#wait\r\n" + line + line + line +
                 line + "#wait\r\n#select3 {\r\none\r\ntwo\r\nthree\r\n/A/B/C}\r\n");
    Run({Key(10, VK_CONTROL)}, 1000);
    EXPECT_EQ(std::tuple(game.select_run, game.wait_run, game.page_run), std::tuple(1, 0, 0));
    // Ctrl with a click on a choice still picks nothing
    Rect one = game.choice_rect[0];
    LPARAM on_one = MAKELPARAM(one.left + 2, one.top + 2);
    Run({Key(10, VK_CONTROL),
         {1500, WM_MOUSEMOVE, MK_CONTROL, on_one},
         {1600, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, on_one}},
        5000);
    EXPECT_EQ(game.select_run, 1);
    Run({}, 1000);
    EXPECT_EQ(std::tuple(game.select_run, game.wait_run), std::tuple(0, 0)) << "without Ctrl it types on";

    Write_script("#set_text_wait 50\r\nabcde#delay 100\r\n" + std::string(25, 'y'));
    Run({Key(10, VK_CONTROL), Key(20, VK_CONTROL, WM_KEYUP)}, 30);
    EXPECT_EQ(game.delay_run, 1) << "the text up to the delay at once; the delay at its own pace";
    std::vector<int> cur;
    for (DWORD ms : {300u, 800u}) {
        Run({Key(10, VK_CONTROL), Key(20, VK_CONTROL, WM_KEYUP)}, ms);
        cur.push_back(game.cur);
    }
    EXPECT_EQ(cur[1] - cur[0], 10) << "one byte every 50 ms again";
}

TEST_F(Reader_keys, ReaderKeysNeverReachTheEngineAndTheNoticeNeverTouchesBs) {
    Write_script(Cp("あいう#wait\r\nえお#wait\r\n"));
    Run({}, 800);
    auto plain = Seen();
    // Alt+Enter is no click: the wait goes on, and the window covers the screen
    const std::vector<Input> keys{{300, WM_SYSKEYDOWN, VK_RETURN, 1 << 29},
                                  Key(400, VK_F5),
                                  Key(500, VK_SHIFT),
                                  Key(510, '3'),
                                  Key(520, VK_SHIFT, WM_KEYUP),
                                  Key(600, VK_F11),
                                  Key(700, VK_F11)};
    Run(keys, 800);
    EXPECT_EQ(Seen(), plain);
    EXPECT_TRUE(Is_fullscreen(game.main_window));
    fs::path saves = dir / "data/veltrane/saves" / reader.game_id;
    EXPECT_TRUE(fs::is_regular_file(saves / "quick.sav"));
    EXPECT_TRUE(fs::is_regular_file(saves / "3.sav"));
    // under a message box, nothing is saved
    reader.top_level = false;
    Reader_proc(game.main_window, WM_KEYDOWN, VK_SHIFT, 0);
    Reader_proc(game.main_window, WM_KEYDOWN, '4', 0);
    EXPECT_FALSE(fs::exists(saves / "4.sav"));

    // a remembered size or a --scale larger than the desktop (1920 x 1080 here) opens at the largest
    // whole multiple that fits; one that fits opens as it is
    fs::create_directories(dir / "config/veltrane");
    std::string conf = (dir / "config/veltrane" / (Game_id(fs::current_path()) + ".conf")).string();
    for (auto [text, scale, width] : {std::tuple("width 16000\nheight 12000\n", 0, 1280),
                                      {"width 900\nheight 700\n", 0, 900},
                                      {"", 8, 1280},
                                      {"", 1, 640}}) {
        std::ofstream(conf) << text;
        Run({}, 10);
        Reader_options(scale, false);
        Reader_start();
        int w = 0, h = 0;
        Get_client_size(game.main_window, &w, &h);
        EXPECT_EQ(w, width) << text << scale;
    }
    Reader_options(0, false);
}
