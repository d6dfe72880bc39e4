// The image commands, the four transitions and the fades, pixel for pixel on the virtual clock (bad
// surface names: golden/pictures.golden).
#include "game_folder.h"
#include "gfx.h"

namespace {

constexpr uint32_t MARK = 0x100000;

class Pictures : public Script_test {
  protected:
    // BG gets every pixel its own colour, MARK + its index, and BS is black, so a BS pixel tells
    // whether it came from BG, and from where.
    void Load_patterns(const std::string& script) {
        Load(script);
        for (int i = 0; i < SCREEN_W * SCREEN_H; i++) game.bg_surface->pixels[i] = MARK + i;
        Fill(game.bs_surface, 0);
    }

    // Passes 1 ms apart until the flag drops; the times at which stamp changed (the frames).
    static std::vector<DWORD> Frames_until_off(const int& flag, const DWORD& stamp) {
        std::vector<DWORD> times;
        DWORD last = stamp;
        for (int guard = 0; flag && guard < 5000; guard++) {
            Sleep(1);
            Game_tick();
            if (stamp != last) times.push_back(last = stamp);
        }
        return times;
    }

    // Where each BS pixel came from on BG as (x, y), or (-1, -1) where BS is still black.
    static std::pair<int, int> Origin(int x, int y) {
        uint32_t p = At(game.bs_surface, x, y);
        return p ? std::pair((int)(p - MARK) % SCREEN_W, (int)(p - MARK) / SCREEN_W) : std::pair(-1, -1);
    }

    static void Fill(Surface* s, uint32_t p) { std::fill(s->pixels, s->pixels + s->width * s->height, p); }
};

} // namespace

TEST_F(Pictures, CurtainBandsGrowOnePixelAFrameAndTheLastIsFullAt720) {
    Load_patterns("#g_change CURTAIN\r\nA");
    Game_tick();
    ASSERT_EQ(std::tuple(game.change_run, game.text_run, game.change_kind), std::tuple(1, 0, 0));
    // after the frame of step 10m, x shows BG exactly when x/10 + x%10 <= m, and at its own place
    for (int m = 0; m <= 72; m++) {
        Sleep(20);
        Tick_curtain();
        if (m != 0 && m != 5 && m != 40 && m != 71 && m != 72) continue;
        int wrong = 0;
        for (int y : {0, 233, 479})
            for (int x = 0; x < SCREEN_W; x++) {
                auto want = x / 10 + x % 10 <= m ? std::pair(x, y) : std::pair(-1, -1);
                wrong += Origin(x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << "step " << m * 10;
    }
}

TEST_F(Pictures, SpreadOpensFourSquaresFromThreePixelsUpLeftThenADiamond) {
    // a cell's start is its distance from the centre, one less right of it in rows 8 to 23 from 17 on
    const std::tuple<int, int, int> cells[] = {{0, 0, 34},   {8, 29, 16},  {8, 30, 16}, {7, 30, 18},
                                               {24, 30, 18}, {15, 37, 16}, {15, 19, 0}, {16, 20, 0}};
    for (auto [r, c, start] : cells) EXPECT_EQ(spread_table[r * 40 + c], start) << r << "," << c;

    Load_patterns("#g_change SPREAD\r\nA");
    Game_tick();
    Sleep(20);
    Tick_spread();
    std::vector<std::pair<int, int>> drawn;
    for (int y = 0; y < SCREEN_H; y++)
        for (int x = 0; x < SCREEN_W; x++)
            if (Origin(x, y).first >= 0) {
                drawn.emplace_back(x, y);
                EXPECT_EQ(Origin(x, y), std::pair(x - 3, y - 3));
            }
    std::vector<std::pair<int, int>> want;
    for (int y : {247, 263})
        for (int dy : {0, 1})
            for (int x : {311, 327})
                for (int dx : {0, 1}) want.emplace_back(x + dx, y + dy);
    EXPECT_EQ(drawn, want);
    // the cell at (320, 240) two frames on: the 4 x 4 square covers the first one, at its own place
    for (int frame = 0; frame < 2; frame++) {
        Sleep(20);
        Tick_spread();
    }
    for (int y = 240; y < 256; y++)
        for (int x = 320; x < 336; x++)
            EXPECT_EQ(Origin(x, y),
                      x >= 326 && x < 330 && y >= 246 && y < 250 ? std::pair(x, y) : std::pair(-1, -1));
}

TEST_F(Pictures, StretchesGrowFromTheCentreLines) {
    for (std::string effect : {"STRETCH_X", "STRETCH_Y"}) {
        Load_patterns("#g_change " + effect + "\r\nA");
        Game_tick();
        for (int frame = 0; frame <= 5; frame++) {
            Sleep(20);
            Tick_change();
        }
        // step 100: a 200-wide (or 200-high) band around the centre line shows BG squeezed
        bool x_wise = effect == "STRETCH_X";
        int wrong = 0;
        for (int y = 0; y < SCREEN_H; y++)
            for (int x = 0; x < SCREEN_W; x++) {
                int along = x_wise ? x - 220 : y - 140;
                bool inside = along >= 0 && along < 200;
                wrong += (Origin(x, y).first >= 0) != inside;
            }
        EXPECT_EQ(wrong, 0) << effect;
        EXPECT_EQ(Origin(x_wise ? 220 : 0, x_wise ? 0 : 140), std::pair(0, 0)) << effect;
    }
}

TEST_F(Pictures, EveryEffectRunsItsFramesTwentyMsApartAndEndsWithBsEqualToBg) {
    const std::tuple<const char*, int, int> effects[] = {
        {"CURTAIN", 75, 740}, {"SPREAD", 46, 45}, {"STRETCH_X", 17, 320}, {"STRETCH_Y", 13, 240}};
    for (auto [name, frames, last] : effects) {
        // BG already equal to BS still runs every frame; text typed before the effect is gone after it
        Load(std::string("AB#set_text_area 100,200,600,470\r\n#g_change ") + name + "\r\nC");
        game.text_wait = 1;
        while (!game.change_run) {
            Sleep(1);
            Game_tick();
        }
        DWORD start = game.change_tick;
        std::vector<DWORD> times = Frames_until_off(game.change_run, game.change_tick);
        ASSERT_EQ((int)times.size(), frames) << name;
        for (DWORD t : times) EXPECT_EQ(t - std::exchange(start, t), 20u) << name;
        EXPECT_EQ(std::tuple(game.change_step, game.text_x, game.text_y, game.text_run),
                  std::tuple(last, 100, 200, 1))
            << name;
        EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface)) << name;
        Step();
        EXPECT_GT(Ink(100, 200, 10, 20), 0) << name; // C at the area's top-left
    }
    // a lower-case name is bad: reported, the program asked to end, a transition of the last kind run
    Load("#g_change curtain\r\nA");
    game.change_kind = 3;
    Game_tick();
    EXPECT_EQ(Boxes(), Lines{"Com_g_change_task()|シンボル [curtain] は不正です。強制終了～♪"});
    EXPECT_TRUE(Quit_pending());
    EXPECT_EQ(Frames_until_off(game.change_run, game.change_tick).size(), 13u);
}

TEST_F(Pictures, FadesBlendTwentyOneStepsAndTheBlackSurfaceLivesOnlyThroughTheFadeOut) {
    // BS black, BG white: each channel of BS follows c = a + c (255 - a) / 255 through the 21 opacities
    const int alphas[] = {0,   12,  25,  38,  51,  63,  76,  89,  102, 114, 127,
                          140, 153, 165, 178, 191, 204, 216, 229, 242, 255};
    Load("#fade_in\r\nA");
    Fill(game.bg_surface, 0xFFFFFF);
    Fill(game.bs_surface, 0);
    Game_tick();
    DWORD start = game.fade_tick;
    int c = 0;
    for (int a : alphas) {
        Sleep(49);
        Game_tick();
        ASSERT_EQ(At(game.bs_surface, 5, 5), 0x010101u * c) << "held before step a=" << a;
        Sleep(1);
        Game_tick();
        c = a + c * (255 - a) / 255;
        EXPECT_EQ(At(game.bs_surface, 639, 479), 0x010101u * c) << "a=" << a;
    }
    EXPECT_EQ(game.fade_tick - start, 21u * 50);
    EXPECT_EQ(std::tuple(game.fade_in_run, game.text_run, game.fade_percent), std::tuple(0, 1, 105));
    EXPECT_EQ(Frame(game.bs_surface), Frame(game.bg_surface));

    // two fade-outs with text between: each makes its own black surface and frees it at its end
    Load("#fade_out\r\nAB#fade_out\r\nC");
    Fill(game.bs_surface, 0xFFFFFF);
    std::vector<int> alive;
    for (int t = 0; t < 2400; t++) {
        Sleep(1);
        Game_tick();
        if (alive.empty() || alive.back() != (game.fade_surface != nullptr))
            alive.push_back(game.fade_surface != nullptr);
        EXPECT_EQ(game.fade_surface != nullptr, game.fade_out_run == 1);
    }
    EXPECT_EQ(alive, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(std::tuple(game.text_x, game.text_y), std::tuple(30, 20)); // C typed at the top-left
    EXPECT_EQ(std::count(game.bs_surface->pixels, game.bs_surface->pixels + SCREEN_W * 20, 0u),
              SCREEN_W * 20);
}

TEST_F(Pictures, CopiesAndBlendsReadTheirArgumentsAsWritten) {
    // g_copy with commas inside the pairs and blanks between them
    std::string copy = "#g_copy BS 100,50 BG 100,50 200,100\r\nA";
    Load_patterns(copy);
    Game_tick();
    int wrong = 0;
    for (int y = 40; y < 160; y++)
        for (int x = 90; x < 310; x++)
            wrong += Origin(x, y) !=
                     (x >= 100 && x < 300 && y >= 50 && y < 150 ? std::pair(x, y) : std::pair(-1, -1));
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(game.cur, Pos(copy, "A"));

    // alpha_copy of white onto black: each channel becomes the opacity, percentages not clamped
    for (auto [percent, channel] : {std::pair(0, 0), {50, 127}, {100, 255}, {101, 1}, {-1, 254}}) {
        Load("#alpha_copy BS,0,0,BG,0,0,640,480, " + std::to_string(percent) + "\r\nA");
        Fill(game.bg_surface, 0xFFFFFF);
        Fill(game.bs_surface, 0);
        Game_tick();
        EXPECT_EQ(At(game.bs_surface, 639, 479), 0x010101u * channel) << percent;
    }
}

TEST_F(Pictures, GLoadDrawsOnlyOnItsSurfaceAndANameOnTheNextLineIsEmpty) {
    Load("#g_load BG start.bgh\r\n#g_load BG\r\nstart.bgh\r\n");
    std::vector<uint32_t> bs = Frame(game.bs_surface);
    Game_tick();
    EXPECT_EQ(Frame(game.bs_surface), bs); // BG is unseen until something brings it on
    Surface* start = LoadImage("gdat/start.bgh");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(std::pair(Cut(game.bg_surface, 0, 0, 600, 200), At(game.bg_surface, 600, 200)),
              std::pair(Frame(start), 0u));
    DeleteSurface(start);
    Step(2);
    EXPECT_EQ(Boxes(), Lines{"Load_Bmp()|画像読み込みに失敗しました"});
}
