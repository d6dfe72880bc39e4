// The shell played headless: the main loop, the present rule, the window procedure, the helpers and
// the glyphs with their shadow (the text settings at their limits: golden/text_settings.golden).
#include "game_folder.h"

#include <fstream>

using Shell = Game_folder_test;

TEST_F(Shell, MainLoopTurnsAndThePresentRuleAlsoAcrossTheWrap) {
    // a run from start_tick for ms, with moves at 0 ms and an ending message (Esc or WM_CLOSE) at
    // end_ms; then presents, uploads, elapsed ms, stopped by the deadline, window open, mouse x, y
    using After = std::tuple<int, int, DWORD, bool, bool, int, int>;
    const std::tuple<DWORD, DWORD, int, UINT, DWORD, After> runs[] = {
        {0, 1, 0, 0, 0, {1, 1, 1, true, true, 0, 0}}, // the paint before start-up had nothing to copy
        // BS never changes after the first pass: the loop sleeps through the passes that would
        // only present it again
        {0, 100, 0, 0, 0, {1, 1, 100, true, true, 0, 0}},
        {0xFFFFFFF0u, 100, 0, 0, 0, {1, 1, 100, true, true, 0, 0}},
        // messages all due at 0 ms: a turn each and no tick between, so no 1 ms sleep either
        {0, 1000, 3, WM_KEYDOWN, 0, {0, 0, 0, false, true, 14, 24}},
        {0, 1000, 0, WM_KEYDOWN, 5, {1, 1, 5, false, true, 0, 0}}, // a tick and a 1 ms sleep a turn
        {0, 1000, 0, WM_CLOSE, 3, {1, 1, 3, false, false, 0, 0}},
    };
    for (const auto& [start, ms, moves, end, end_ms, after] : runs) {
        Restart(start);
        for (int i = 0; i < moves; i++)
            headless->inject(0, WM_MOUSEMOVE, 0, MAKELPARAM(10 + 2 * i, 20 + 2 * i));
        if (end) headless->inject(end_ms, end, VK_ESCAPE, 0);
        EXPECT_EQ(Play(ms), 0);
        EXPECT_EQ(After(headless->presents(), headless->uploads(), headless->elapsed(),
                        headless->stopped_by_deadline(), IsWindow(game.main_window), game.mouse_x,
                        game.mouse_y),
                  after);
    }

    // typing every 5 ms from 35 ms: a changed picture is shown on the 13 ms grid of the first
    // present, as when a pass ran every ms, also across the wrap of the tick counter
    for (DWORD start : {0u, 0xFFFFFFF0u}) {
        Restart(start);
        Write_script("#set_text_wait 5\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ");
        // a pass every ms presents at 0 and then, with the picture changed, at 39, 52, 65, 78, 91
        std::vector<DWORD> shown;
        for (DWORD at : {0u, 38u, 39u, 51u, 52u, 90u, 91u, 99u})
            headless->call_at(at, [&, at] { shown.push_back((DWORD)headless->uploads()); });
        EXPECT_EQ(Play(100), 0);
        EXPECT_EQ(shown, (std::vector<DWORD>{0, 1, 1, 2, 2, 5, 5, 6})) << start;
        EXPECT_EQ(headless->presents(), 6);
    }
}

TEST_F(Shell, StartUpLoadsThePicturesGetGameDcNamesOnlyThoseThreeAndASecondCopyIsRefused) {
    EXPECT_EQ(Play(1), 0);
    EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface));
    // PT: 75 x 25, its mask cell white away from the cursor, its sprite black there
    const Surface* pt = game.pt_surface;
    EXPECT_EQ(std::tuple(pt->width, pt->height, At(pt, 25, 0), At(pt, 0, 0)),
              std::tuple(75, 25, 0xFFFFFFu, 0u));
    EXPECT_EQ(std::tuple(Get_game_DC("BS"), Get_game_DC("BG"), Get_game_DC("PT")),
              std::tuple(game.bs_surface, game.bg_surface, pt));
    Lines told;
    for (const std::string name : {"bs", "BSX", "", "Bg"}) {
        EXPECT_EQ(Get_game_DC(name.c_str()), game.bs_surface);
        EXPECT_TRUE(Quit_pending());
        told.push_back("Get_game_DC()|シンボル [" + name +
                       "] は意味不明ですぅ（爆）\n暴走したら恐いので強制終了ですぅ～♪");
    }

    Window* first = game.main_window;
    EXPECT_EQ(WinMain(&instance, nullptr, "", SW_SHOWNORMAL), 0);
    told.push_back("警告|既に起動していますよん♪");
    EXPECT_EQ(Boxes(), told);
    EXPECT_TRUE(IsWindow(first));
    // only a window of both the class and the caption is a running copy, the whole caption
    EXPECT_FALSE(FindWindow("Other", TITLE) ||
                 FindWindow(TITLE, std::string(TITLE, sizeof TITLE - 2).c_str()));
}

TEST_F(Shell, WndProcStoresTheMouseAndActsOnClicksKeysAndTheMusicNotice) {
    EXPECT_EQ(Play(1), 0);
    Window* w = game.main_window;
    // the buttons word is stored whole; x and y are unsigned
    const std::tuple<UINT, WPARAM, int, int> mice[] = {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 100, 200},
                                                       {WM_RBUTTONDOWN, MK_RBUTTON, 65535, 65535},
                                                       {WM_RBUTTONUP, 0, 3, 4},
                                                       {WM_LBUTTONUP, 0, 7, 8}};
    for (auto [message, buttons, x, y] : mice) {
        EXPECT_EQ(WndProc(w, message, buttons, MAKELPARAM(x, y)), 0);
        EXPECT_EQ(std::tuple(game.mouse_buttons, game.mouse_x, game.mouse_y), std::tuple((int)buttons, x, y));
    }
    // while typing, Enter ends nothing; other keys are only answered (the notice: golden/audio.golden)
    for (WPARAM key : {VK_RETURN, (WPARAM)'A'}) EXPECT_EQ(WndProc(w, WM_KEYDOWN, key, 0), 0);
    Msg msg;
    EXPECT_FALSE(PeekMessage(&msg, PM_NOREMOVE));
    game.bgm_playing = 1;
    game.bgm_kind = 2;
    EXPECT_EQ(WndProc(w, MM_MCINOTIFY, 1, 0), 0);
    EXPECT_EQ(std::pair(Boxes(), game.bgm_playing), std::pair(Lines{"WndProc()|BGMのタイプが変だよ～ん"}, 1));
}

TEST_F(Shell, MessagesAndFormatsAreCutWholeAtTheirRoomAndRectOffsetWraps) {
    // the offset's and Pt_in_rect's strict edges are probed on the start menu in menus_test.cpp
    Rect far = Rect_offset(0, 0, 10, 10, 0x7FFFFFFF, 0);
    EXPECT_EQ(std::pair(far.left, far.right), std::pair(0x7FFFFFFF, (int32_t)0x80000009u));
    const std::string ji = Cp("字"), a251(251, 'A');
    // "[%s]" leaves 253 of the box's 255 bytes for the argument; a two-byte character goes whole
    const std::pair<std::string, std::string> args[] = {{a251 + "AA", a251 + "AA"},
                                                        {a251 + "AAA", a251 + "AA"},
                                                        {a251 + ji, a251 + "字"},
                                                        {a251 + "A" + ji, a251 + "A"}};
    Lines told;
    for (const auto& [arg, shown] : args) {
        Msg_box_arg("[%s]", arg.c_str(), "c");
        told.push_back("c|[" + shown + "]");
    }
    EXPECT_EQ(Boxes(), told);
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
    EXPECT_EQ(Frame(target), Cut(whole, 0, 0, 75, 25));
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
