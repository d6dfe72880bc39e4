// Text with the installed fonts: the face the game asks for, coverage, cell bounds, widths.
#include "unit_support.h"

#include <algorithm>
#include <cstring>

constexpr int CELL = 20;
constexpr uint32_t INK = 0xE01030; // RGB(0xE0, 0x10, 0x30) as a pixel

constexpr auto Back = [](int x, int y) { return (x + y) % 2 ? 0x204080u : 0x305070u; };
// Pixels that differ from the background, in the rows from top to above bottom.
static int Drawn(const Surface* s, int top = 0, int bottom = INT_MAX) {
    int n = 0;
    for (int i = top * s->width; i < std::min(bottom, s->height) * s->width; i++)
        n += s->pixels[i] != Back(i % s->width, i / s->width);
    return n;
}

class Text : public testing::Test {
  protected:
    // the face the game names is not installed here: a face covering Japanese stands in
    void SetUp() override { ASSERT_NE(font, nullptr); }
    void TearDown() override { DeleteObject(font); }

    // The text drawn at (x, y), in the ink, over a background that changes pixel by pixel.
    Surface_ptr Draw(const char* text, int x, int y, int w = 64, int h = 48) {
        Surface_ptr s(CreateSurface(w, h));
        for (int i = 0; i < w * h; i++) s->pixels[i] = Back(i % w, i / w);
        SelectObject(s.get(), font);
        SetTextColor(s.get(), RGB(0xE0, 0x10, 0x30));
        EXPECT_TRUE(TextOut(s.get(), x, y, text, (int)std::strlen(text)));
        return s;
    }
    int Extent(const char* text) { return GetTextExtent(font, text, (int)std::strlen(text)); }

    Font* font = CreateFont(CELL, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
};

TEST_F(Text, StandInFaceCoversJapaneseAndExtentsAddUp) {
    EXPECT_EQ(GetFontHeight(font), CELL);
    auto a = Draw(Sjis("あ"), 4, 4), i = Draw(Sjis("い"), 4, 4), kan = Draw(Sjis("漢"), 4, 4);
    EXPECT_TRUE(Drawn(a.get()) > 30 && Drawn(i.get()) > 30 && Drawn(kan.get()) > 30);
    // a face without kana would draw the same missing-glyph box for each
    EXPECT_NE(Pixels(a.get()), Pixels(i.get()));
    EXPECT_NE(Pixels(a.get()), Pixels(kan.get()));

    EXPECT_GT(Extent(Sjis("あ")), CELL / 2);
    EXPECT_EQ(Extent(Sjis("あA")), Extent(Sjis("あ")) + Extent("A"));
    // drawing a pair is drawing each at the pen position the first one's width gives
    auto pair = Draw(Sjis("あA"), 3, 5), apart = Draw(Sjis("あ"), 3, 5);
    EXPECT_TRUE(TextOut(apart.get(), 3 + Extent(Sjis("あ")), 5, "A", 1));
    EXPECT_EQ(Pixels(pair.get()), Pixels(apart.get()));
}

TEST_F(Text, CoverageBlendsTheTextColourOverWhatIsThere) {
    const int x = 8, y = 10, advance = Extent(Sjis("漢"));
    auto s = Draw(Sjis("漢"), x, y);
    int full = 0, partial = 0;
    for (int i = 0; i < s->width * s->height; i++) {
        const int px = i % s->width, py = i / s->width;
        const uint32_t v = s->pixels[i], back = Back(px, py);
        const bool near = px >= x - 2 && px < x + advance + 2 && py >= y && py < y + CELL;
        ASSERT_TRUE(v == back || near) << "far from the glyph at (" << px << ", " << py << ")";
        full += v == INK;
        partial += v != INK && v != back;
        for (int shift : {0, 8, 16}) {
            uint32_t c = v >> shift & 0xFF, lo = back >> shift & 0xFF, hi = INK >> shift & 0xFF;
            ASSERT_TRUE(c >= std::min(lo, hi) && c <= std::max(lo, hi)) << std::hex << v << " over " << back;
        }
    }
    EXPECT_GT(full, 10);
    EXPECT_GT(partial, 10);
    // the background is never filled, whatever mode is asked for
    auto opaque = Draw("", x, y);
    EXPECT_EQ(SetBkMode(opaque.get(), OPAQUE), OPAQUE);
    EXPECT_TRUE(TextOut(opaque.get(), x, y, Sjis("漢"), 2));
    EXPECT_EQ(Pixels(opaque.get()), Pixels(s.get()));
}

// the fixed half-width cells the story's text is laid in expect every Latin letter and digit half a cell wide
TEST_F(Text, LatinLettersAndDigitsAreAllHalfACellWide) {
    for (char c : std::string("iIlW m.0!ASCIbyte")) EXPECT_EQ(GetTextExtent(font, &c, 1), CELL / 2) << c;
}

TEST_F(Text, GlyphsStayInsideTheCell) {
    // tall brackets, descenders and kana, emboldened for the semibold weight
    const char* text = Sjis("｜（「あ漢」）ｇｊgjpqy_|[]{}");
    const int y = 20;
    auto s = Draw(text, 2, y, Extent(text) + 8, 60);
    EXPECT_EQ(Drawn(s.get(), 0, y), 0) << "above the cell";
    EXPECT_EQ(Drawn(s.get(), y + CELL), 0) << "below the cell";
    EXPECT_GT(Drawn(s.get()), 200);
}

TEST_F(Text, CutOrStrayBytesAndFarPositionsAreSafe) {
    // a buffer of exactly the given length, so that a read past it is caught
    std::unique_ptr<char[]> half(new char[3]{'\x82', '\xA0', '\x82'}); // "あ" and half of the next
    auto s = Draw("", 0, 0);
    EXPECT_TRUE(TextOut(s.get(), 0, 0, half.get(), 3));
    EXPECT_GE(GetTextExtent(font, half.get(), 3), Extent(Sjis("あ")));

    auto far = Draw("", 0, 0);
    const uint64_t version = far->version;
    for (auto [x, y] : {std::pair{INT_MAX, 0}, {INT_MIN, INT_MIN}, {0, INT_MAX}})
        EXPECT_TRUE(TextOut(far.get(), x, y, Sjis("漢字"), 4));
    EXPECT_EQ(Drawn(far.get()), 0);
    EXPECT_EQ(far->version, version) << "text wholly outside writes nothing";
    EXPECT_FALSE(TextOut(far.get(), 0, 0, "A", -1));
    // without a font there is nothing to draw with
    EXPECT_FALSE(TextOut(Make(8, 8, {0}).get(), 0, 0, "A", 1));
    EXPECT_EQ(GetTextExtent(nullptr, "A", 1), 0);
    EXPECT_EQ(GetFontHeight(nullptr), 0);
}
