// What the save screen lists of a slot, read from its file alone: the time, the page's first
// characters and the picture of a new save; the file's time and nothing more for an older one; and a
// bad file shown broken for the reason its load gives (the screen's keys: golden/save_screen.golden).
#include "game_folder.h"
#include "save_entries.h"
#include "save_format.h"
#include "slots.h"
#include "state_lines.h"

#include <ctime>
#include <fstream>

namespace {

class Save_preview_test : public Game_folder_test {
  protected:
    void Run(const std::string& script, DWORD ms) {
        Write_script(script);
        Restart();
        headless->stop_at(ms);
        Main_play(&instance, Play_options{}, "veltrane");
        reader.game_id = "story-0123456789abcdef";
    }
    fs::path Slot_file(int slot) const {
        return dir / "data/veltrane/saves" / reader.game_id /
               (slot == 0 ? "quick.sav" : std::to_string(slot) + ".sav");
    }
    std::string Bytes(int slot) const {
        std::ifstream in(Slot_file(slot), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    void Put(int slot, const std::string& bytes) const {
        fs::create_directories(Slot_file(slot).parent_path());
        std::ofstream(Slot_file(slot), std::ios::binary) << bytes;
    }
    // BS at a quarter of its size a side, each pixel the mean of its four by four.
    static std::vector<uint32_t> Quarter_bs() {
        std::vector<uint32_t> out;
        for (int y = 0; y < THUMB_H; y++)
            for (int x = 0; x < THUMB_W; x++) {
                uint32_t sum[3] = {};
                for (int i = 0; i < 16; i++)
                    for (int c = 0; c < 3; c++)
                        sum[c] += At(game.bs_surface, x * 4 + i % 4, y * 4 + i / 4) >> (16 - 8 * c) & 0xFF;
                out.push_back(sum[0] / 16 << 16 | sum[1] / 16 << 8 | sum[2] / 16);
            }
        return out;
    }
};

} // namespace

TEST_F(Save_preview_test, ASaveTellsItsTimeItsPagesFirstCharactersAndItsPictureWithoutBeingRestored) {
    // two bytes, then forty two-byte characters, 28 of them on the first line: 64 bytes would end
    // inside the 31st
    std::string page = "ab", line = "ab";
    for (int i = 0; i < 40; i++) page += Cp("あ"), line += i < 28 ? Cp("あ") : "";
    Run(Cp("#g_load BG harbor.bgh\r\n#set_text_wait 0\r\n") + page + "#wait\r\n", 1500);
    ASSERT_EQ(game.wait_run, 1);
    int64_t before = std::time(nullptr);
    ASSERT_EQ(Save_to_slot(12), nullptr);
    int64_t after = std::time(nullptr);
    auto state = State_lines::Of_game();
    Save_preview preview;
    ASSERT_EQ(Read_preview(Bytes(12), reader.game_id, &preview), nullptr);
    EXPECT_GE(preview.time, before);
    EXPECT_LE(preview.time, after);
    EXPECT_EQ(preview.text, line + "\n" + Cp("ああ"));
    EXPECT_EQ(preview.thumb, Quarter_bs());
    Slot_view view = Read_slot(12);
    EXPECT_TRUE(view.used);
    EXPECT_EQ(view.broken, nullptr);
    EXPECT_EQ(std::tuple(view.preview.time, view.preview.text, view.preview.thumb),
              std::tuple(preview.time, preview.text, preview.thumb));
    EXPECT_EQ(State_lines::Of_game(), state) << "the listing changed the story";
    // the preview is no part of the state a restore makes
    std::string body;
    ASSERT_EQ(Save_unpack(Bytes(12), reader.game_id, &body), nullptr);
    EXPECT_EQ(body.substr(0, 13), std::string("\x0cpreview_time", 13)) << "the preview comes first";
    EXPECT_EQ(Restore_slot(12), nullptr);
    EXPECT_EQ(State_lines::Of_game(), state);
    EXPECT_FALSE(Read_slot(13).used);
    EXPECT_EQ(Newest_slot(), 12);
    EXPECT_TRUE(Delete_slot(12));
    EXPECT_FALSE(Read_slot(12).used);
    EXPECT_EQ(Newest_slot(), -1);
    EXPECT_TRUE(Delete_slot(12)) << "a slot already empty";
}

TEST_F(Save_preview_test, FirstFormatSavesAndSavesBeforePreviewsShowTheFilesTimeAndNoText) {
    Run(Cp("あいう#wait\r\n"), 500);
    std::ifstream v1(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/data/v1_click_wait.sav", std::ios::binary);
    Put(1, {std::istreambuf_iterator<char>(v1), {}});
    Put(2, Save_pack(Save_state(GetTickCount()), reader.game_id));
    auto then = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (int slot : {1, 2}) {
        fs::last_write_time(Slot_file(slot), then);
        Slot_view view = Read_slot(slot);
        EXPECT_TRUE(view.used);
        EXPECT_EQ(view.broken, nullptr) << slot;
        EXPECT_EQ(view.preview.text, "") << slot;
        EXPECT_TRUE(view.preview.thumb.empty()) << slot;
        EXPECT_EQ(view.preview.time, (int64_t)std::chrono::duration_cast<std::chrono::seconds>(
                                         std::chrono::file_clock::to_sys(then).time_since_epoch())
                                         .count())
            << slot;
    }
    // a preview entry of another size is passed over; the save still loads
    std::string body;
    Put_entry(body, "preview_thumb", "\1\2\3", 3);
    Put_entry(body, "preview_time", "\1", 1);
    Put(3, Save_pack(body + Save_state(GetTickCount()), reader.game_id));
    Slot_view odd = Read_slot(3);
    EXPECT_EQ(odd.broken, nullptr);
    EXPECT_TRUE(odd.preview.thumb.empty());
    EXPECT_EQ(Restore_slot(3), nullptr);
}

TEST_F(Save_preview_test, BadFilesShowBrokenForTheReasonTheirLoadRefusesThem) {
    Run(Cp("あいう#wait\r\n"), 500);
    ASSERT_EQ(Save_to_slot(0), nullptr);
    const std::string good = Bytes(0);
    const char* broken = Sjis("セーブデータが壊れています");
    std::string flipped = good, newer = good;
    flipped[good.size() / 2] ^= 0x10;
    newer[8] = 3;
    const std::pair<std::string, const char*> bad[] = {
        {good.substr(0, 3), broken},
        {good.substr(0, 40), broken},
        {good.substr(0, 100), broken},
        {good.substr(0, good.size() - 1), broken},
        {flipped, broken},
        {"", broken},
        {newer, Sjis("新しい版のセーブデータです")},
        {Save_encode("another-game", GetTickCount()), Sjis("別のゲームのセーブデータです")},
        {"\x89PNG\r\n\x1a\n", Sjis("セーブデータではありません")},
    };
    auto state = State_lines::Of_game();
    for (size_t i = 0; i < std::size(bad); i++) {
        int slot = 20 + (int)i;
        Put(slot, bad[i].first);
        Slot_view view = Read_slot(slot);
        EXPECT_TRUE(view.used) << slot;
        ASSERT_NE(view.broken, nullptr) << slot;
        EXPECT_STREQ(view.broken, bad[i].second) << slot;
        EXPECT_TRUE(view.preview.text.empty() && view.preview.thumb.empty()) << slot;
        EXPECT_STREQ(Restore_slot(slot), bad[i].second) << slot;
    }
    fs::create_directory(Slot_file(39));
    EXPECT_STREQ(Read_slot(39).broken, Sjis("セーブデータが読めません"));
    EXPECT_EQ(State_lines::Of_game(), state);
}
