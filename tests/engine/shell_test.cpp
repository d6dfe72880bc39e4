// The shell's routines called directly: the start-up, the helpers and the glyphs with their shadow (the
// loop, the window procedure and boxes: golden/shell.golden; the text settings: text_settings.golden).
#include "game_folder.h"

#include <fstream>

using Shell = Game_folder_test;

TEST_F(Shell, StartUpLoadsThePicturesAStrangeMusicNoticeIsToldAndASecondCopyIsRefused) {
    EXPECT_EQ(Play(1), 0);
    EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface));
    // PT: 75 x 25, its mask cell white away from the cursor, its sprite black there
    const Surface* pt = game.pt_surface;
    EXPECT_EQ(std::tuple(pt->width, pt->height, At(pt, 25, 0), At(pt, 0, 0)),
              std::tuple(75, 25, 0xFFFFFFu, 0u));
    EXPECT_EQ(std::tuple(Get_game_DC("BS"), Get_game_DC("BG"), Get_game_DC("PT")),
              std::tuple(game.bs_surface, game.bg_surface, pt));
    // a music notice of a kind that no piece has is told (the others: golden/audio.golden)
    game.bgm_playing = 1;
    game.bgm_kind = 2;
    EXPECT_EQ(WndProc(game.main_window, MM_MCINOTIFY, 1, 0), 0);
    EXPECT_EQ(game.bgm_playing, 1);
    Window* first = game.main_window;
    EXPECT_EQ(WinMain(&instance, nullptr, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(Boxes(), (Lines{"WndProc()|BGMのタイプが変だよ～ん", "警告|既に起動していますよん♪"}));
    EXPECT_TRUE(IsWindow(first));
    // only a window of both the class and the caption is a running copy, the whole caption
    EXPECT_FALSE(FindWindow("Other", TITLE) ||
                 FindWindow(TITLE, std::string(TITLE, sizeof TITLE - 2).c_str()));
}

TEST_F(Shell, FormatsAreCutWholeAtTheirRoomAndRectOffsetWraps) {
    // the offset's and Pt_in_rect's strict edges are probed on the start menu in golden/menus.golden
    Rect far = Rect_offset(0, 0, 10, 10, 0x7FFFFFFF, 0);
    EXPECT_EQ(std::pair(far.left, far.right), std::pair(0x7FFFFFFF, (int32_t)0x80000009u));
    const std::string ji = Cp("字");
    // Format_whole: 1 when all fits; cut short, a first byte whose second fell off goes too
    const std::tuple<size_t, std::string, int, std::string> formats[] = {{5, "abcd", 1, "abcd"},
                                                                         {4, "abcd", 0, "abc"},
                                                                         {4, "ab" + ji, 0, "ab"},
                                                                         {5, "ab" + ji + "c", 0, "ab" + ji}};
    for (const auto& [size, text, whole, out] : formats) {
        char buf[8];
        EXPECT_EQ(Format_whole(buf, size, "%s", text.c_str()), whole) << size << " " << text;
        EXPECT_EQ(std::string(buf), out) << size << " " << text;
    }
}

TEST_F(Shell, LoadBmpFailsHarmlesslyCopiesATopLeftAndFillRectStopsShortOfRightAndBottom) {
    fs::remove("gdat/back_black.bgh");
    EXPECT_EQ(Play(50), 0);
    EXPECT_TRUE(headless->stopped_by_deadline());
    std::ofstream("gdat/broken.bgh", std::ios::binary) << "BM\x10";
    Surface* target = CreateSurface(75, 25);
    Fill_rect(target, 0, 0, 75, 25, RGB(9, 9, 9));
    for (const char* bad : {".\\gdat\\none.bgh", ".\\gdat\\broken.bgh"})
        EXPECT_EQ((std::pair{Load_Bmp(target, bad), At(target, 74, 24)}), std::pair(0, 0x090909u));
    EXPECT_EQ(Boxes(), Lines(3, "Load_Bmp()|画像読み込みに失敗しました"));
    // a 600 x 200 picture into a 75 x 25 surface, its name in any case: the picture's top-left part
    EXPECT_EQ(Load_Bmp(target, ".\\GDAT\\Start.bgh"), 1);
    Surface* whole = LoadImage("gdat/start.bgh");
    for (int y = 0; y < 25; y++)
        EXPECT_TRUE(
            std::equal(target->pixels + y * 75, target->pixels + y * 75 + 75, whole->pixels + y * 600));
    DeleteSurface(whole);
    DeleteSurface(target);

    Surface* s = game.bs_surface;
    Fill_rect(s, 10, 20, 30, 25, RGB(1, 2, 3));
    Fill_rect(s, 100, 100, 90, 120, RGB(255, 255, 255)); // right before left: nothing
    const std::tuple<int, int, uint32_t> pixels[] = {{10, 20, 0x010203u}, {29, 24, 0x010203u}, {30, 24, 0u},
                                                     {29, 25, 0u},        {9, 20, 0u},         {95, 110, 0u}};
    for (auto [x, y, want] : pixels) EXPECT_EQ(At(s, x, y), want) << x << "," << y;
}

TEST_F(Shell, GlyphShadowLiesOnePixelRightAndDownUnderTheText) {
    EXPECT_EQ(Play(1), 0);
    const COLORREF text = RGB(250, 40, 10), shadow = RGB(20, 60, 240);
    const uint32_t text_pixel = 0xFA280A, shadow_pixel = 0x143CF0;
    const std::string glyph = Cp("■"); // full strokes: many pixels take the pure colours
    Surface* both = CreateSurface(64, 64);
    Surface* alone = CreateSurface(64, 64);
    ChrPut3D(both, 10, 12, 20, text, shadow, glyph.data(), 2);
    ChrPut3D(alone, 10, 12, 20, text, RGB(0, 0, 0), glyph.data(), 2); // black on black: the text alone
    // full text stays text (drawn last), full shadow shows where the text is not, one pixel right
    // and down, and what neither pass reaches stays black
    int shadow_pixels = 0, wrong = 0;
    for (int y = 1; y < 64; y++)
        for (int x = 1; x < 64; x++) {
            uint32_t here = At(alone, x, y), up_left = At(alone, x - 1, y - 1), got = At(both, x, y);
            if (here == text_pixel) wrong += got != text_pixel;
            if (here == 0 && up_left == text_pixel) {
                wrong += got != shadow_pixel;
                shadow_pixels++;
            }
            if (here == 0 && up_left == 0) wrong += got != 0;
        }
    EXPECT_EQ(std::pair(wrong, shadow_pixels > 5), std::pair(0, true));

    // three bytes or more: a message and nothing drawn
    Surface* untouched = CreateSurface(64, 64);
    ChrPut3D(untouched, 10, 12, 20, text, shadow, (glyph + "a").data(), 3);
    EXPECT_EQ(Boxes(), Lines{"ChrPut3D()|２文字までにしてね"});
    EXPECT_EQ(Frame(untouched), std::vector<uint32_t>(64 * 64, 0u));
    for (Surface* s : {both, alone, untouched}) DeleteSurface(s);
}
