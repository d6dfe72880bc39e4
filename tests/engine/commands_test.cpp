// The glyphs with their shadow (the text settings at their limits: golden/text_settings.golden).
#include "game_folder.h"

using Commands = Script_test;

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
