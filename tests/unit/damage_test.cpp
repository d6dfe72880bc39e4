// What a drawing call records as written: the rectangles the next present sends to the window.
#include "draw/touch.h"
#include "unit_support.h"

namespace {

using Rects = std::vector<std::tuple<int, int, int, int>>;

Rects Taken(Surface* s) {
    Damage d = Take_damage(s);
    Rects out;
    for (int i = 0; i < d.count; i++)
        out.emplace_back(d.rects[i].left, d.rects[i].top, d.rects[i].right, d.rects[i].bottom);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(Damage, EachCallRecordsWhatItWroteClippedAndOnlyWhereItChanged) {
    auto s = Make(100, 50, {0});
    auto white = Make(100, 50, {0xFFFFFF});
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 0, 100, 50}})); // new: all of it
    BitBlt(s.get(), -5, -5, 10, 10, white.get(), 0, 0, SRCCOPY);
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 0, 5, 5}}));
    BitBlt(s.get(), 0, 0, 5, 10, white.get(), 0, 0, SRCCOPY); // its first five rows hold it already
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 5, 5, 10}}));
    uint64_t version = s->version;
    BitBlt(s.get(), 0, 0, 5, 10, white.get(), 0, 0, SRCCOPY);
    EXPECT_EQ(std::pair(Taken(s.get()), s->version), std::pair(Rects{}, version)); // nothing changed
    StretchBlt(s.get(), 90, 40, 20, 20, white.get(), 0, 0, 5, 5, SRCCOPY);
    AlphaBlend(s.get(), 40, -3, 5, 5, white.get(), 0, 0, 5, 5, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
    BitBlt(s.get(), 60, 20, 3, 3, white.get(), 0, 0, SRCAND);
    Brush* brush = CreateSolidBrush(RGB(1, 2, 3));
    SelectObject(s.get(), brush);
    PatBlt(s.get(), -10, 45, 20, 20, PATCOPY);
    DeleteObject(brush);
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 45, 10, 50}, {40, 0, 45, 2}, {60, 20, 63, 23}, {90, 40, 100, 50}}));
    Font* font = CreateFont(20, FW_NORMAL, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
    SelectObject(s.get(), font);
    TextOut(s.get(), 30, 10, Sjis("字"), 2);
    Rects text = Taken(s.get());
    SelectObject(s.get(), (Font*)nullptr);
    DeleteObject(font);
    ASSERT_EQ(text.size(), 1u);
    auto [left, top, right, bottom] = text[0];
    EXPECT_TRUE(left >= 28 && right <= 52 && right - left >= 15 && top == 10 && bottom == 30)
        << left << " " << right;
}

TEST(Damage, TouchingRectanglesMergeAndTooManyBecomeOne) {
    auto s = Make(200, 100, {0});
    Take_damage(s.get());
    Touch(s.get(), 0, 0, 10, 10);
    Touch(s.get(), 10, 0, 20, 10); // shares an edge
    Touch(s.get(), 50, 50, 60, 60);
    Touch(s.get(), 15, 5, 55, 55); // bridges both
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 0, 60, 60}}));
    for (int i = 0; i <= DAMAGE_RECTS; i++) Touch(s.get(), 20 * i, 2 * i, 20 * i + 5, 2 * i + 1);
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 0, 165, 17}}));
    Touch(s.get(), -50, -50, -1, 10); // off the surface: nothing
    EXPECT_EQ(Taken(s.get()), Rects{});
}

TEST(Damage, ABlendMarksOnlyTheRowsItChanged) {
    auto s = Make(7, 50, {0});
    auto source = Make(7, 50, {0});
    for (int y = 10; y < 20; y++)
        for (int x = 0; x < 7; x++) source->pixels[y * 7 + x] = 0xFFFFFF;
    Taken(s.get());
    uint64_t version = s->version;
    AlphaBlend(s.get(), 0, 0, 7, 50, source.get(), 0, 0, 7, 50, BLENDFUNCTION{AC_SRC_OVER, 0, 0, 0});
    EXPECT_EQ(std::pair(Taken(s.get()), s->version), std::pair(Rects{}, version)); // a fade's first step
    AlphaBlend(s.get(), 0, 0, 7, 50, source.get(), 0, 0, 7, 50, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 10, 7, 20}})); // black over black stays black
    AlphaBlend(s.get(), 0, 0, 7, 50, source.get(), 0, 0, 7, 50, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0});
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 10, 7, 20}}));
    version = s->version;
    AlphaBlend(s.get(), 0, 0, 7, 50, source.get(), 0, 0, 7, 50, BLENDFUNCTION{AC_SRC_OVER, 0, 200, 0});
    EXPECT_EQ(std::pair(Taken(s.get()), s->version), std::pair(Rects{}, version)); // arrived: nothing to show
    // a spare byte the blend clears is a change, among the first four pixels of a row or after them
    s->pixels[30 * 7 + 1] |= 0x01000000;
    s->pixels[40 * 7 + 5] |= 0x01000000;
    AlphaBlend(s.get(), 0, 0, 7, 50, source.get(), 0, 0, 7, 50, BLENDFUNCTION{AC_SRC_OVER, 0, 0, 0});
    EXPECT_EQ(Taken(s.get()), (Rects{{0, 30, 7, 41}}));
    EXPECT_EQ(s->pixels[40 * 7 + 5], 0u);
}
