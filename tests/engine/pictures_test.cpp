// The transitions' frames pixel for pixel, each BS pixel telling where on BG it came from (their
// timing, the fades and the image commands: golden/pictures.golden).
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
