// The dispatcher's name and comment rules, the text settings commands at their limits, and the
// glyphs with their shadow.
#include "script_fixture.h"

namespace {

using Commands = Script_test;

std::string Unknown(const std::string& name) {
    return "Command_call()|警告：無効なコマンド [#" + name + "] が記述されています";
}

uint32_t Pixel(COLORREF c) {
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

} // namespace

TEST_F(Commands, UnknownNamesAreReportedAndCommentsPassedOver) {
    const std::string script = "#set_text_wait 0\r\n#Wait\r\n#delay,100\r\n# 7\r\n#wait" + Cp("あ") +
                               "\r\n## note #wait\r\n##wait\r\n#Wait 12\r\n#halt\r\n";
    Write_script(script);
    EXPECT_EQ(Play(1000), 0);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{Unknown("Wait"), Unknown("delay,100"), Unknown(""),
                                                 Unknown("waitあ"), Unknown("Wait")}));
    // nothing waited or delayed: the run stopped only at #halt, with "7" and "12" typed
    EXPECT_EQ(game.halt_run, 1);
    EXPECT_EQ(game.cur, Pos(script, "#halt") + 6);
    EXPECT_EQ(game.text_x, 50);
    EXPECT_EQ(game.delay_ms, 0);
    EXPECT_TRUE(headless->stopped_by_deadline());
}

TEST_F(Commands, TextSettingsAtTheirLimits) {
    auto area = [] { return std::vector{game.area_left, game.area_top, game.area_right, game.area_bottom}; };
    auto colors = [] { return std::pair(game.text_color, game.shadow_color); };
    auto size = [] { return std::vector{game.font_size, game.char_width, game.line_height}; };
    const std::string narrow = "Com_set_text_area()|幅が狭いよ～ん";
    Load("#set_text_area 20, 20, 99, 460\r\n#set_text_area 20, 20, 620, 39\r\n#set_text_area 0,0,10,10\r\n"
         "#set_text_area 20, 20, 100, 460\r\n#set_text_area 30,20\r\n620\r\n40\r\n");
    game.text_x = 300;
    Step(3); // too narrow, too low, both (only the width is told): nothing changes
    EXPECT_EQ(Boxes(), (std::vector<std::string>{narrow, "Com_set_text_area()|高さが狭いよ～ん", narrow}));
    EXPECT_EQ(area(), (std::vector{20, 20, 620, 460}));
    EXPECT_EQ(game.text_x, 300);
    Step(); // exactly four sizes wide
    EXPECT_EQ(area(), (std::vector{20, 20, 100, 460}));
    EXPECT_EQ(Text_at(), std::pair(20, 20));
    Step(); // exactly one size high, its numbers across line ends
    EXPECT_EQ(area(), (std::vector{30, 20, 620, 40}));
    EXPECT_EQ(Text_at(), std::pair(30, 20));

    Load("#set_text_wait 5000\r\n#set_text_wait 5001\r\n#set_text_wait -1\r\n#set_text_wait 0\r\n");
    Step();
    EXPECT_EQ(game.text_wait, 5000);
    Step(2);
    EXPECT_EQ(game.text_wait, 5000);
    Step();
    EXPECT_EQ(game.text_wait, 0);
    std::vector<std::string> boxes = Boxes();
    EXPECT_EQ(std::vector(boxes.begin() + 3, boxes.end()),
              (std::vector<std::string>{"Com_set_text_wait()|５秒以内にしてねん♪",
                                        "Com_set_text_wait()|マイナスは駄目よ～ん"}));

    Load("#set_text_color 1, 2, 3, 4, 5, 6\r\n#set_text_color 256, 0, 0, 0, 0, 0\r\n"
         "#set_text_color 0, 0, 0, 0, 0, -1\r\n#set_text_color 255,255,255,0,0,0\r\n");
    Step();
    EXPECT_EQ(colors(), std::pair(0x030201u, 0x060504u));
    Step(2);
    EXPECT_EQ(colors(), std::pair(0x030201u, 0x060504u));
    boxes = Boxes();
    EXPECT_EQ(std::vector(boxes.begin() + 5, boxes.end()),
              std::vector<std::string>(2, "Com_set_text_color()|指定可能な数値は各色 0-255 です"));
    Step();
    EXPECT_EQ(colors(), std::pair(0xFFFFFFu, 0u));

    Load("#set_font_size 25\r\n#set_font_size -5\r\n#set_font_size 20\r\n");
    Step();
    EXPECT_EQ(size(), (std::vector{25, 12, 32}));
    Step(); // stored without a word; both divisions truncate toward zero
    EXPECT_EQ(size(), (std::vector{-5, -2, -6}));
    Step();
    EXPECT_EQ(size(), (std::vector{20, 10, 26}));
    EXPECT_EQ(Boxes().size(), 7u);
}

TEST_F(Commands, GlyphShadowLiesOnePixelRightAndDown) {
    Load("");
    const COLORREF text = RGB(250, 40, 10), shadow = RGB(20, 60, 240);
    const std::string glyph = Cp("■"); // full strokes: many pixels take the pure colours
    Surface* both = CreateSurface(64, 64);
    Surface* alone = CreateSurface(64, 64);
    ChrPut3D(both, 10, 12, 20, text, shadow, glyph.data(), 2);
    ChrPut3D(alone, 10, 12, 20, text, RGB(0, 0, 0), glyph.data(), 2); // black on black: the text alone
    auto at = [](const Surface* s, int x, int y) { return s->pixels[y * s->width + x]; };

    // the bottom-right-most pixel in the text colour has its shadow one pixel right and down
    int bx = -1, by = -1;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            if (at(both, x, y) == Pixel(text) && (y > by || (y == by && x > bx))) bx = x, by = y;
    ASSERT_GE(by, 0);
    EXPECT_EQ(at(alone, bx + 1, by + 1), 0u);
    EXPECT_EQ(at(both, bx + 1, by + 1), Pixel(shadow));

    // everywhere: full text stays text (drawn last), full shadow shows where the text is not,
    // and what neither pass reaches stays black
    int shadow_pixels = 0, wrong = 0;
    for (int y = 1; y < 64; y++)
        for (int x = 1; x < 64; x++) {
            uint32_t here = at(alone, x, y), up_left = at(alone, x - 1, y - 1), got = at(both, x, y);
            if (here == Pixel(text)) wrong += got != Pixel(text);
            if (here == 0 && up_left == Pixel(text)) wrong += got != Pixel(shadow), shadow_pixels++;
            if (here == 0 && up_left == 0) wrong += got != 0;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(shadow_pixels, 5);
    for (int x = 0; x < 64; x++)
        EXPECT_EQ(at(both, x, 63), 0u); // far below the 20-pixel cell

    // three bytes or more: a message and nothing drawn
    Surface* untouched = CreateSurface(64, 64);
    ChrPut3D(untouched, 10, 12, 20, text, shadow, (glyph + "a").data(), 3);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"ChrPut3D()|２文字までにしてね"});
    EXPECT_EQ(Frame(untouched), std::vector<uint32_t>(64 * 64, 0u));
    for (Surface* s : {both, alone, untouched})
        DeleteSurface(s);
}
