// The text settings commands at their limits, and the glyphs with their shadow.
#include "game_folder.h"

using Commands = Script_test;

TEST_F(Commands, TextSettingsAtTheirLimits) {
    auto state = [](const std::string& line) -> std::vector<int64_t> {
        if (line.starts_with("set_text_area"))
            return {game.area_left,   game.area_top, game.area_right,
                    game.area_bottom, game.text_x,   game.text_y};
        if (line.starts_with("set_text_wait")) return {game.text_wait};
        if (line.starts_with("set_text_color")) return {game.text_color, game.shadow_color};
        return {game.font_size, game.char_width, game.line_height};
    };
    const std::string narrow = "幅が狭いよ～ん", range = "指定可能な数値は各色 0-255 です";
    // a command a step, from the text cursor at 300, 20: what state() reads then, and the box raised
    const std::tuple<std::string, std::vector<int64_t>, std::string> cases[] = {
        // too narrow, too low, both (only the width is told): nothing changes, the cursor neither
        {"set_text_area 20, 20, 99, 460", {20, 20, 620, 460, 300, 20}, narrow},
        {"set_text_area 20, 20, 620, 39", {20, 20, 620, 460, 300, 20}, "高さが狭いよ～ん"},
        {"set_text_area 0,0,10,10", {20, 20, 620, 460, 300, 20}, narrow},
        // exactly four sizes wide; exactly one size high, the numbers across line ends
        {"set_text_area 20, 20, 100, 460", {20, 20, 100, 460, 20, 20}, ""},
        {"set_text_area 30,20\r\n620\r\n40", {30, 20, 620, 40, 30, 20}, ""},
        {"set_text_wait 5000", {5000}, ""},
        {"set_text_wait 5001", {5000}, "５秒以内にしてねん♪"},
        {"set_text_wait -1", {5000}, "マイナスは駄目よ～ん"},
        {"set_text_wait 0", {0}, ""},
        {"set_text_color 1, 2, 3, 4, 5, 6", {0x030201, 0x060504}, ""},
        {"set_text_color 256, 0, 0, 0, 0, 0", {0x030201, 0x060504}, range},
        {"set_text_color 0, 0, 0, 0, 0, -1", {0x030201, 0x060504}, range},
        {"set_text_color 255,255,255,0,0,0", {0xFFFFFF, 0}, ""},
        {"set_font_size 25", {25, 12, 32}, ""},
        {"set_font_size -5", {-5, -2, -6}, ""}, // any size, without a word; divisions truncate toward 0
        {"set_font_size 20", {20, 10, 26}, ""}, // 20 x 1.3 is whole: a factor just under 1.3 shows here only
    };
    std::string script;
    for (const auto& [line, after, box] : cases) script += "#" + line + "\r\n";
    Load(script);
    game.text_x = 300;
    for (const auto& [line, after, box] : cases) {
        Lines told = Boxes();
        if (!box.empty()) told.push_back("Com_" + line.substr(0, line.find(' ')) + "()|" + box);
        Step();
        EXPECT_EQ(state(line), after) << line;
        EXPECT_EQ(Boxes(), told) << line;
    }
}

TEST_F(Commands, GlyphShadowLiesOnePixelRightAndDownUnderTheText) {
    Load("");
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
