// The notice in the window's top layer: cut to a narrow window, drawn again wider when the window grows,
// and gone without a trace.
#include "game_folder.h"
#include "keys.h"
#include "notice.h"

namespace {

constexpr uint32_t PLATE = 0x181828; // RGB(24, 24, 40) as a pixel

class Notice_test : public Game_folder_test {
  protected:
    // A new size as the desktop's window tells it: WM_SIZE, then WM_PAINT.
    void Size(int w, int h) {
        Set_client_size(game.main_window, w, h);
        Reader_proc(game.main_window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, h));
        Reader_proc(game.main_window, WM_PAINT, 0, 0);
    }
    // How far the plate reaches along its second row, and down its second column.
    int Plate_right() const {
        int x = 9;
        while (x < headless->client().width && At(&headless->client(), x, 9) == PLATE) x++;
        return x;
    }
    int Plate_bottom() const {
        int y = 9;
        while (y < headless->client().height && At(&headless->client(), 9, y) == PLATE) y++;
        return y;
    }
};

} // namespace

TEST_F(Notice_test, IsCutToANarrowWindowDrawnAgainWhenItGrowsAndLeavesNoTrace) {
    headless->keep_client();
    Play(100);
    Size(320, 240);
    auto beneath = Frame(&headless->client());
    Notice_show(Sjis("メッセージの表示中は保存も読み込みもできません"));
    EXPECT_EQ(std::pair(Plate_right(), Plate_bottom()), std::pair(320 - 8, 8 + 16 + 10));
    Size(1280, 960);
    EXPECT_GT(Plate_right(), 320);
    EXPECT_EQ(Plate_bottom(), 8 + 16 + 10);
    Size(320, 240);
    Notice_end();
    EXPECT_EQ(Frame(&headless->client()), beneath);
}
