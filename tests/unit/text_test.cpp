// Text drawing with the real installed fonts: the face the game asks for, coverage in the text
// colour, glyphs inside their cell, and widths that add up.
#include "unit_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

constexpr int kCell = 20;
constexpr uint32_t kInk = 0xE01030; // RGB(0xE0, 0x10, 0x30) as a pixel

class Text : public testing::Test {
  protected:
    void SetUp() override {
        // the face the game names is not installed here: a face covering Japanese stands in
        font = CreateFont(kCell, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override { DeleteObject(font); }

    // A surface with the text drawn at (x, y) over a background that changes pixel by pixel.
    Surface_ptr Draw(const char* text, int x, int y, int width = 64, int height = 48) {
        Surface_ptr s = Background(width, height);
        SelectObject(s.get(), font);
        SetTextColor(s.get(), RGB(0xE0, 0x10, 0x30));
        EXPECT_TRUE(TextOut(s.get(), x, y, text, (int)std::strlen(text)));
        return s;
    }
    static uint32_t Back(int x, int y) { return (x + y) % 2 ? 0x204080 : 0x305070; }
    static Surface_ptr Background(int width, int height) {
        Surface_ptr s(CreateSurface(width, height));
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                At(s.get(), x, y) = Back(x, y);
        return s;
    }
    static int Drawn_pixels(const Surface* s) {
        int n = 0;
        for (int y = 0; y < s->height; y++)
            for (int x = 0; x < s->width; x++)
                n += At(s, x, y) != Back(x, y);
        return n;
    }
    int Extent(const char* text) { return GetTextExtent(font, text, (int)std::strlen(text)); }

    Font* font = nullptr;
};

bool Channel_between(uint32_t v, uint32_t a, uint32_t b, int shift) {
    uint32_t c = v >> shift & 0xFF, lo = a >> shift & 0xFF, hi = b >> shift & 0xFF;
    if (lo > hi) std::swap(lo, hi);
    return c >= lo && c <= hi;
}

} // namespace

TEST_F(Text, StandInFaceCoversJapanese) {
    EXPECT_EQ(GetFontHeight(font), kCell);
    auto a = Draw(Sjis("あ"), 4, 4);
    auto i = Draw(Sjis("い"), 4, 4);
    auto kan = Draw(Sjis("漢"), 4, 4);
    EXPECT_GT(Drawn_pixels(a.get()), 30);
    EXPECT_GT(Drawn_pixels(i.get()), 30);
    EXPECT_GT(Drawn_pixels(kan.get()), 30);
    // a face without kana would draw the same missing-glyph box for each
    EXPECT_NE(Pixels(a.get()), Pixels(i.get()));
    EXPECT_NE(Pixels(a.get()), Pixels(kan.get()));
    EXPECT_GT(Extent(Sjis("あ")), kCell / 2);
}

TEST_F(Text, CoverageBlendsTheTextColourOverWhatIsThere) {
    const int x = 8, y = 10;
    auto s = Draw(Sjis("漢"), x, y);
    int advance = Extent(Sjis("漢"));
    int full = 0, partial = 0;
    for (int py = 0; py < s->height; py++) {
        for (int px = 0; px < s->width; px++) {
            uint32_t v = At(s.get(), px, py), back = Back(px, py);
            if (px < x - 2 || px >= x + advance + 2 || py < y || py >= y + kCell) {
                ASSERT_EQ(v, back) << "far from the glyph at (" << px << ", " << py << ")";
                continue;
            }
            if (v == kInk) {
                full++;
            } else if (v != back) {
                partial++;
                for (int shift : {0, 8, 16})
                    ASSERT_TRUE(Channel_between(v, back, kInk, shift))
                        << std::hex << v << " at (" << std::dec << px << ", " << py << ")";
            }
        }
    }
    EXPECT_GT(full, 10);
    EXPECT_GT(partial, 10);

    // the background is never filled, whatever mode is asked for
    auto opaque = Background(64, 48);
    SelectObject(opaque.get(), font);
    SetTextColor(opaque.get(), RGB(0xE0, 0x10, 0x30));
    EXPECT_EQ(SetBkMode(opaque.get(), OPAQUE), OPAQUE);
    EXPECT_TRUE(TextOut(opaque.get(), x, y, Sjis("漢"), 2));
    EXPECT_EQ(Pixels(opaque.get()), Pixels(s.get()));
}

TEST_F(Text, GlyphsStayInsideTheCell) {
    // tall brackets, descenders and kana, emboldened for the semibold weight
    const char* text = Sjis("｜（「あ漢」）ｇｊgjpqy_|[]{}");
    const int y = 20;
    auto s = Draw(text, 2, y, Extent(text) + 8, 60);
    for (int py = 0; py < s->height; py++) {
        if (py >= y && py < y + kCell) continue;
        for (int px = 0; px < s->width; px++)
            ASSERT_EQ(At(s.get(), px, py), Back(px, py))
                << "outside the cell at (" << px << ", " << py << ")";
    }
    EXPECT_GT(Drawn_pixels(s.get()), 200);
}

TEST_F(Text, ExtentsAddUpAndMatchTheDrawing) {
    EXPECT_EQ(Extent(Sjis("あA")), Extent(Sjis("あ")) + Extent("A"));
    EXPECT_EQ(Extent(Sjis("漢字")), Extent(Sjis("漢")) + Extent(Sjis("字")));
    EXPECT_EQ(Extent(""), 0);
    EXPECT_GT(Extent("A"), 0);

    // drawing a pair is drawing each at the pen position the first one's width gives
    auto pair = Draw(Sjis("あA"), 3, 5);
    auto apart = Draw(Sjis("あ"), 3, 5);
    SelectObject(apart.get(), font);
    EXPECT_TRUE(TextOut(apart.get(), 3 + Extent(Sjis("あ")), 5, "A", 1));
    EXPECT_EQ(Pixels(pair.get()), Pixels(apart.get()));
}

TEST_F(Text, CutOrStrayBytesAndFarPositionsAreSafe) {
    // buffers of exactly the given length, so that a read past them is caught
    std::unique_ptr<char[]> lead(new char[1]{'\x82'});
    std::unique_ptr<char[]> half(new char[3]{'\x82', '\xA0', '\x82'}); // "あ" and half of the next
    auto s = Background(64, 48);
    SelectObject(s.get(), font);
    EXPECT_TRUE(TextOut(s.get(), 0, 0, lead.get(), 1));
    EXPECT_TRUE(TextOut(s.get(), 0, 0, half.get(), 3));
    EXPECT_GE(GetTextExtent(font, lead.get(), 1), 0);
    EXPECT_GE(GetTextExtent(font, half.get(), 3), Extent(Sjis("あ")));

    auto untouched = Background(64, 48);
    SelectObject(untouched.get(), font);
    uint64_t version = untouched->version;
    EXPECT_TRUE(TextOut(untouched.get(), 0, 0, "A", 0));
    EXPECT_TRUE(TextOut(untouched.get(), INT_MAX, 0, Sjis("漢字"), 4));
    EXPECT_TRUE(TextOut(untouched.get(), INT_MIN, INT_MIN, Sjis("漢字"), 4));
    EXPECT_TRUE(TextOut(untouched.get(), 0, INT_MAX, Sjis("漢字"), 4));
    EXPECT_EQ(Drawn_pixels(untouched.get()), 0);
    EXPECT_NE(untouched->version, version) << "drawing text marks the surface as changed";
    EXPECT_FALSE(TextOut(untouched.get(), 0, 0, "A", -1));

    // without a font there is nothing to draw with
    auto bare = Background(8, 8);
    EXPECT_FALSE(TextOut(bare.get(), 0, 0, "A", 1));
    EXPECT_EQ(GetTextExtent(nullptr, "A", 1), 0);
    EXPECT_EQ(GetFontHeight(nullptr), 0);
}
