// The shell played headless: the main loop's turns, the present rule, the window procedure,
// the named surfaces and the shared helpers.
#include "game_folder.h"

#include <cstdio>
#include <cstring>

namespace {

using Shell = Game_folder_test;

uint32_t At(const Surface* s, int x, int y) { return s->pixels[y * s->width + x]; }

} // namespace

TEST_F(Shell, FirstPassPresentsThenEveryThirteenMsWithoutReupload) {
    EXPECT_EQ(Play(1), 0);
    EXPECT_EQ(headless->presents(), 1); // the paint before start-up had nothing to copy
    EXPECT_EQ(headless->uploads(), 1);

    Reset_game();
    headless = &Use_headless_backend(0);
    EXPECT_EQ(Play(100), 0);
    // presents at 0, 13, 26, 39, 52, 65, 78 and 91 ms; BS never changes, so it is uploaded once
    EXPECT_EQ(headless->presents(), 8);
    EXPECT_EQ(headless->uploads(), 1);
    EXPECT_TRUE(headless->stopped_by_deadline());
}

TEST_F(Shell, PresentRuleAndTickElapsedHoldAcrossTheWrap) {
    headless = &Use_headless_backend(0xFFFFFFF0u);
    EXPECT_EQ(Play(100), 0);
    EXPECT_EQ(headless->presents(), 8);

    headless = &Use_headless_backend(0xFFFFFFFAu);
    EXPECT_EQ(Tick_elapsed(0xFFFFFFFAu, 10), 0);
    Sleep(9);
    EXPECT_EQ(Tick_elapsed(0xFFFFFFFAu, 10), 0);
    Sleep(1); // the counter reads 4 now
    EXPECT_EQ(GetTickCount(), 4u);
    EXPECT_EQ(Tick_elapsed(0xFFFFFFFAu, 10), 1);
    EXPECT_EQ(Tick_elapsed(0xFFFFFFFAu, 0), 1);
    DWORD mark = 0;
    Tick_mark(&mark);
    EXPECT_EQ(mark, 4u);
}

TEST_F(Shell, OneMessagePerTurnAndNoTickWhileMessagesWait) {
    // five moves and Esc all due at 0 ms: each takes a turn of its own, no tick runs between
    for (int i = 0; i < 5; i++) headless->inject(0, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 20 + i));
    headless->inject(0, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Play(1000), 0);
    EXPECT_FALSE(headless->stopped_by_deadline());
    EXPECT_EQ(headless->elapsed(), 0u); // no tick, so no 1 ms sleep either
    EXPECT_EQ(headless->presents(), 0);
    EXPECT_EQ(game.mouse_x, 14);
    EXPECT_EQ(game.mouse_y, 24);

    // Esc due at 5 ms: ticks ran at 0 to 4 ms, each followed by its 1 ms sleep
    Reset_game();
    headless = &Use_headless_backend(0);
    headless->inject(5, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(Play(1000), 0);
    EXPECT_EQ(headless->elapsed(), 5u);
    EXPECT_EQ(headless->presents(), 1);
}

TEST_F(Shell, CloseDestroysTheWindowAndEndsWithZero) {
    headless->inject(3, WM_CLOSE, 0, 0);
    EXPECT_EQ(Play(1000), 0);
    EXPECT_FALSE(headless->stopped_by_deadline());
    EXPECT_EQ(headless->elapsed(), 3u);
    EXPECT_FALSE(IsWindow(game.main_window));
    EXPECT_TRUE(headless->boxes().empty());
}

TEST_F(Shell, SecondCopyIsRefusedAndTheFirstKeepsItsWindow) {
    EXPECT_EQ(Play(5), 0);
    Window* first = game.main_window;
    ASSERT_TRUE(IsWindow(first));
    EXPECT_EQ(WinMain(&instance, nullptr, "", SW_SHOWNORMAL), 0);
    ASSERT_EQ(headless->boxes().size(), 1u);
    EXPECT_EQ(headless->boxes()[0].caption, "警告");
    EXPECT_EQ(headless->boxes()[0].text, "既に起動していますよん♪");
    EXPECT_TRUE(IsWindow(first));
    // a window of the same caption but another class is no running copy
    EXPECT_FALSE(FindWindow("Other", Title));
    EXPECT_FALSE(FindWindow(Title, "Veltrane Ver0.1"));
}

TEST_F(Shell, StartUpLoadsTheFixedPicturesAndSetsTheDefaults) {
    EXPECT_EQ(Play(1), 0);
    ASSERT_NE(game.bs_surface, nullptr);
    EXPECT_EQ(0, std::memcmp(game.bs_surface->pixels, game.bg_surface->pixels, 640 * 480 * 4));
    EXPECT_EQ(game.pt_surface->width, 75);
    EXPECT_EQ(game.pt_surface->height, 25);
    // the mask cell is white away from the cursor and the sprite black there
    EXPECT_EQ(At(game.pt_surface, 25, 0), 0xFFFFFFu);
    EXPECT_EQ(At(game.pt_surface, 0, 0), 0u);
    EXPECT_EQ(game.text_run, 1);
    EXPECT_EQ(game.font_size, 20);
    EXPECT_EQ(game.area_right, 620);
    EXPECT_EQ(game.area_bottom, 460);
    EXPECT_EQ(game.line_height, 26);
    EXPECT_EQ(game.text_color, 0x00FFFFFFu);
    EXPECT_EQ(game.shadow_color, 0x001E1E1Eu);
    EXPECT_EQ(game.blink_interval, 400u);
    EXPECT_EQ(game.change_interval, 20u);
    EXPECT_EQ(game.menu_button.right, 158);
    EXPECT_TRUE(headless->boxes().empty());
}

TEST_F(Shell, MissingBackgroundIsReportedOnceAndTheRunGoesOn) {
    std::filesystem::remove("gdat/back_black.bgh");
    EXPECT_EQ(Play(50), 0);
    ASSERT_EQ(headless->boxes().size(), 1u);
    EXPECT_EQ(headless->boxes()[0].caption, "Load_Bmp()");
    EXPECT_EQ(headless->boxes()[0].text, "画像読み込みに失敗しました");
    EXPECT_TRUE(headless->stopped_by_deadline());
}

TEST_F(Shell, WndProcStoresTheMouseAndHandlesKeys) {
    EXPECT_EQ(Play(1), 0);
    Window* w = game.main_window;
    EXPECT_EQ(WndProc(w, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(100, 200)), 0);
    EXPECT_EQ(game.mouse_buttons, 5);
    EXPECT_EQ(game.mouse_x, 100);
    EXPECT_EQ(game.mouse_y, 200);
    EXPECT_EQ(WndProc(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(65535, 65535)), 0);
    EXPECT_EQ(game.mouse_buttons, 2);
    EXPECT_EQ(game.mouse_x, 65535);
    EXPECT_EQ(game.mouse_y, 65535);
    EXPECT_EQ(WndProc(w, WM_RBUTTONUP, 0, MAKELPARAM(3, 4)), 0);
    EXPECT_EQ(game.mouse_buttons, 0);
    EXPECT_EQ(WndProc(w, WM_LBUTTONUP, 0, MAKELPARAM(7, 8)), 0);
    EXPECT_EQ(game.mouse_x, 7);
    // a click, Enter or Space during typing ends nothing; other keys are only answered
    EXPECT_EQ(WndProc(w, WM_KEYDOWN, VK_RETURN, 0), 0);
    EXPECT_EQ(WndProc(w, WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(WndProc(w, MM_MCINOTIFY, 1, 0), 0);
    Msg msg;
    EXPECT_FALSE(PeekMessage(&msg, PM_NOREMOVE));
    EXPECT_TRUE(headless->boxes().empty());

    // a halted script ends on the next click
    game.halt_run = 1;
    WndProc(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ASSERT_TRUE(PeekMessage(&msg, PM_REMOVE));
    EXPECT_EQ(msg.message, (UINT)WM_QUIT);
}

TEST_F(Shell, MusicNoticeWithAnUnknownKindIsReported) {
    EXPECT_EQ(Play(1), 0);
    game.bgm_playing = 1;
    game.bgm_kind = 2;
    EXPECT_EQ(WndProc(game.main_window, MM_MCINOTIFY, 1, 0), 0);
    ASSERT_EQ(headless->boxes().size(), 1u);
    EXPECT_EQ(headless->boxes()[0].caption, "WndProc()");
    EXPECT_EQ(headless->boxes()[0].text, "BGMのタイプが変だよ～ん");
    EXPECT_EQ(game.bgm_playing, 1);
}

TEST_F(Shell, PtInRectIsStrictOnEveryEdge) {
    EXPECT_EQ(Play(1), 0);
    Rect r = Rect_offset(42, 73, 158, 129, 220, 250);
    EXPECT_EQ(r.left, 262);
    EXPECT_EQ(r.top, 323);
    EXPECT_EQ(r.right, 378);
    EXPECT_EQ(r.bottom, 379);
    auto inside = [&](int x, int y) {
        game.mouse_x = x, game.mouse_y = y;
        return Pt_in_rect(r.left, r.top, r.right, r.bottom);
    };
    EXPECT_EQ(inside(263, 324), 1);
    EXPECT_EQ(inside(377, 378), 1);
    EXPECT_EQ(inside(262, 330), 0);
    EXPECT_EQ(inside(378, 330), 0);
    EXPECT_EQ(inside(300, 323), 0);
    EXPECT_EQ(inside(300, 379), 0);
    // a rectangle less than two pixels across holds no position
    for (int x = 9; x <= 11; x++) {
        game.mouse_x = x, game.mouse_y = 10;
        EXPECT_EQ(Pt_in_rect(10, 0, 11, 100), 0);
    }
    Rect far = Rect_offset(0, 0, 10, 10, 0x7FFFFFFF, 0);
    EXPECT_EQ(far.left, 0x7FFFFFFF);
    EXPECT_EQ(far.right, (int32_t)0x80000009u);
}

TEST_F(Shell, GetGameDcNamesOnlyTheThreeSurfaces) {
    EXPECT_EQ(Play(1), 0);
    EXPECT_EQ(Get_game_DC("BS"), game.bs_surface);
    EXPECT_EQ(Get_game_DC("BG"), game.bg_surface);
    EXPECT_EQ(Get_game_DC("PT"), game.pt_surface);
    EXPECT_TRUE(headless->boxes().empty());

    for (const char* bad : {"bs", "BSX", "", "Bg"}) {
        EXPECT_EQ(Get_game_DC(bad), game.bs_surface);
        ASSERT_FALSE(headless->boxes().empty());
        EXPECT_EQ(headless->boxes().back().caption, "Get_game_DC()");
        EXPECT_EQ(headless->boxes().back().text, std::string("シンボル [") + bad +
                                                     "] は意味不明ですぅ（爆）\n暴走したら恐いので強制終了ですぅ～♪");
        Msg msg;
        ASSERT_TRUE(PeekMessage(&msg, PM_REMOVE));
        EXPECT_EQ(msg.message, (UINT)WM_QUIT);
    }
}

TEST_F(Shell, GetGameDcCutsALongNameAtACharacterBoundary) {
    EXPECT_EQ(Play(1), 0);
    // 183 ASCII bytes then two-byte characters: the cut at 184 bytes would split one
    std::string name(183, 'A');
    for (int i = 0; i < 40; i++) name += Sjis("字");
    Get_game_DC(name.c_str());
    ASSERT_EQ(headless->boxes().size(), 1u);
    const std::string& text = headless->boxes()[0].text;
    EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos); // no half character
    EXPECT_NE(text.find(std::string(183, 'A') + "] は意味不明"), std::string::npos);
    EXPECT_EQ(Utf8_to_cp932(text.c_str()).size(), 71u + 183u);
}

TEST_F(Shell, LoadBmpKeepsTheTargetOnFailureAndCopiesTheTopLeft) {
    EXPECT_EQ(Play(1), 0);
    Surface* target = CreateSurface(75, 25);
    Brush grey{RGB(9, 9, 9)};
    const Brush* old = SelectObject(target, &grey);
    PatBlt(target, 0, 0, 75, 25, PATCOPY);
    SelectObject(target, old);

    for (const char* bad : {".\\gdat\\none.bgh", ".\\gdat\\broken.bgh"}) {
        FILE* f = std::fopen("gdat/broken.bgh", "wb");
        std::fputs("BM\x10\x00", f);
        std::fclose(f);
        EXPECT_EQ(Load_Bmp(target, bad), 0);
        EXPECT_EQ(headless->boxes().back().caption, "Load_Bmp()");
        EXPECT_EQ(At(target, 74, 24), 0x090909u);
    }

    // a 640 x 480 picture into a 75 x 25 surface: its top-left part, pixel for pixel
    EXPECT_EQ(Load_Bmp(target, ".\\GDAT\\Start.bgh"), 1);
    Surface* whole = LoadImage("gdat/start.bgh");
    ASSERT_NE(whole, nullptr);
    for (int y = 0; y < 25; y++)
        for (int x = 0; x < 75; x++) ASSERT_EQ(At(target, x, y), At(whole, x, y)) << x << "," << y;
    DeleteSurface(whole);
    DeleteSurface(target);
}

TEST_F(Shell, FillRectCoversLeftTopToRightBottomExclusive) {
    EXPECT_EQ(Play(1), 0);
    Surface* s = game.bg_surface;
    Fill_rect(s, 10, 20, 30, 25, RGB(1, 2, 3));
    EXPECT_EQ(At(s, 10, 20), 0x010203u);
    EXPECT_EQ(At(s, 29, 24), 0x010203u);
    EXPECT_EQ(At(s, 30, 24), 0u);
    EXPECT_EQ(At(s, 29, 25), 0u);
    EXPECT_EQ(At(s, 9, 20), 0u);
    Fill_rect(s, 100, 100, 90, 120, RGB(255, 255, 255)); // right before left: nothing
    EXPECT_EQ(At(s, 95, 110), 0u);
}
