// Raster ops pixel by pixel: sprites, the masked cursor, fades and fills all rest on these.
#include "unit_support.h"

#include <set>

constexpr DWORD kRops[] = {SRCCOPY, SRCAND, SRCPAINT};
constexpr uint32_t k = 0x777777; // a background to see untouched pixels by

// A value unique to every pixel, all three channels varying; salt gives another such pattern.
static uint32_t P(int x, int y, uint32_t salt = 0) {
    return ((uint32_t)(x + 1) << 16 | (uint32_t)(y + 1) << 8 | (uint32_t)(0x40 + x * 3 + y * 5)) ^ salt;
}
static Surface_ptr Patterned(int w, int h, uint32_t salt = 0) {
    Surface_ptr s(CreateSurface(w, h));
    for (int i = 0; i < w * h; i++) s->pixels[i] = P(i % w, i / w, salt);
    return s;
}
constexpr auto Alpha = [](uint8_t a) { return BLENDFUNCTION{AC_SRC_OVER, 0, a, 0}; };

TEST(BitBlt, ClipsToEveryEdgeOfBothSurfacesAndRefusesUnknownOps) {
    auto src = Patterned(4, 3);
    for (const Row& c : Table("unit/blit_clips.txt")) {
        std::vector<int> a = c.Ints(1), l = c.Ints(2);
        l.resize(6);
        for (DWORD rop : kRops) {
            SCOPED_TRACE(testing::Message() << c.where << ", rop " << std::hex << rop);
            auto dst = Patterned(6, 5, 0xA55AC3);
            Px want = Pixels(dst.get());
            for (int i = 0; i < l[4] * l[5]; i++) {
                uint32_t &d = want[(l[1] + i / l[4]) * 6 + l[0] + i % l[4]],
                         s = P(l[2] + i % l[4], l[3] + i / l[4]);
                d = rop == SRCCOPY ? s : rop == SRCAND ? d & s : d | s;
            }
            EXPECT_TRUE(BitBlt(dst.get(), a[0], a[1], a[2], a[3], src.get(), a[4], a[5], rop));
            EXPECT_EQ(Pixels(dst.get()), want);
        }
    }
    auto dst = Make(6, 5, {k});
    EXPECT_FALSE(BitBlt(dst.get(), 0, 0, 3, 1, src.get(), 0, 0, PATCOPY));
    EXPECT_FALSE(BitBlt(dst.get(), 0, 0, 3, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt((Surface*)nullptr, 0, 0, 3, 1, src.get(), 0, 0, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), Px(30, k));
}

TEST(BitBlt, OverlappingCopyOnOneSurfaceReadsTheOriginalPixels) {
    // right and left along rows, right and down, left and up: x, y, sx, sy, w, h
    const int moves[][6] = {{1, 0, 0, 0, 6, 5}, {0, 0, 1, 0, 6, 5}, {2, 1, 0, 0, 5, 4}, {0, 0, 2, 1, 5, 4}};
    for (DWORD rop : kRops) {
        for (auto [x, y, sx, sy, w, h] : moves) {
            SCOPED_TRACE(testing::Message() << "by " << x - sx << "," << y - sy << ", rop " << rop);
            auto self = Patterned(7, 5), separate = Patterned(7, 5), source = Patterned(7, 5);
            ASSERT_TRUE(BitBlt(self.get(), x, y, w, h, self.get(), sx, sy, rop));
            ASSERT_TRUE(BitBlt(separate.get(), x, y, w, h, source.get(), sx, sy, rop));
            EXPECT_EQ(Pixels(self.get()), Pixels(separate.get()));
        }
    }
}

TEST(AlphaBlend, WeighsEachChannelWithOneTruncatedDivision) {
    // chosen so that truncating each term on its own, or rounding, gives other values
    const Px from{0xFE03FF, 0x008001, 0x64C832}, base{0xFE0700, 0xFF8001, 0x0A141E};
    auto src = Make(3, 1, from);
    for (const Row& c : Table("unit/blends.txt")) {
        std::vector<int> a = c.Ints(0);
        auto dst = Make(3, 1, base);
        EXPECT_EQ(AlphaBlend(dst.get(), a[0], 0, a[1], 1, src.get(), a[2], 0, a[3], 1,
                             {(uint8_t)a[4], 0, (uint8_t)a[5], 0}),
                  c[1] == "1")
            << c.where;
        EXPECT_EQ(Pixels(dst.get()), c[2] == "as it was" ? base : Numbers<Px>(c[2])) << c.where;
    }
    // onto itself, shifted, it reads the pixels as they were
    EXPECT_TRUE(AlphaBlend(src.get(), 1, 0, 2, 1, src.get(), 0, 0, 2, 1, Alpha(127)));
    EXPECT_EQ(Pixels(src.get()), (Px{0xFE03FF, 0x7E417F, 0x32A419}));
}

TEST(AlphaBlend, IsExactForEveryPairOfChannelValues) {
    // every channel value against every other (equal ones too), red, green and blue each its own
    // pairing, blended whole and in strips three wide, so that the four-pixel and the one-pixel
    // path see every pair
    Px from(256 * 256), base(256 * 256);
    for (uint32_t i = 0; i < from.size(); i++) {
        uint32_t s = i & 0xFF, d = i >> 8;
        from[i] = s << 16 | d << 8 | (s ^ 0x5A);
        base[i] = d << 16 | s << 8 | (d ^ 0xC3);
    }
    for (int a : {1, 2, 127, 128, 200, 254})
        for (int strip : {256, 3}) {
            auto dst = Make(256, 256, base), src = Make(256, 256, from);
            for (int x = 0; x < 256; x += strip) {
                int w = std::min(strip, 256 - x);
                ASSERT_TRUE(AlphaBlend(dst.get(), x, 0, w, 256, src.get(), x, 0, w, 256, Alpha(a)));
            }
            int wrong = 0;
            for (size_t i = 0; i < from.size(); i++)
                for (int shift : {0, 8, 16}) {
                    uint32_t s = from[i] >> shift & 0xFF, d = base[i] >> shift & 0xFF;
                    wrong += (dst->pixels[i] >> shift & 0xFF) != (s * a + d * (255 - a)) / 255;
                }
            EXPECT_EQ(wrong, 0) << "a=" << a << ", strips " << strip << " wide";
        }
}

TEST(StretchBlt, GrowsByRepeatingAndShrinksByAndingEachBlockUpToItsEdges) {
    auto bits = Make(5, 5, {0}), pattern = Patterned(4, 4);
    for (int i = 0; i < 25; i++) bits->pixels[i] = 0xFFFFFF & ~(1u << i);
    for (const Row& c : Table("unit/stretches.txt")) {
        Surface* src = c[1] == "bits" ? bits.get() : pattern.get();
        std::vector<int> d = c.Ints(2), a = c.Ints(3);
        auto dst = Make(d[0], d[1], {k});
        const DWORD rop = c[4] == "and" ? SRCAND : SRCCOPY;
        EXPECT_EQ(StretchBlt(dst.get(), a[0], a[1], a[2], a[3], src, a[4], a[5], a[6], a[7], rop),
                  rop == SRCCOPY);
        Px want;
        std::istringstream pixels(c[5]);
        for (std::string p; pixels >> p;) {
            int x = 0, y = 0, w = 1, h = 1;
            const bool at = std::sscanf(p.c_str(), "%d,%d:%dx%d", &x, &y, &w, &h) >= 2;
            uint32_t v = at ? 0xFFFFFF : k;
            for (int i = 0; at && i < w * h; i++) v &= src->pixels[(y + i / w) * src->width + x + i % w];
            want.push_back(v);
        }
        EXPECT_EQ(Pixels(dst.get()), want) << c.where << ": " << c[0];
    }
    // within one surface the blocks are read as they were
    auto self = Patterned(9, 4), separate = Patterned(9, 4), source = Patterned(9, 4);
    EXPECT_TRUE(StretchBlt(self.get(), 1, 1, 3, 2, self.get(), 0, 0, 9, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(separate.get(), 1, 1, 3, 2, source.get(), 0, 0, 9, 4, SRCCOPY));
    EXPECT_EQ(Pixels(self.get()), Pixels(separate.get()));
}

TEST(PatBlt, FillsWithTheSelectedBrushClipped) {
    const uint32_t f = 0x123456; // the COLORREF's red byte is the pixel's high byte
    auto dst = Make(5, 4, {k});
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 5, 4, PATCOPY)) << "no brush to fill with";
    Brush* brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(SelectObject(dst.get(), brush), nullptr);
    EXPECT_TRUE(PatBlt(dst.get(), -2, -1, 4, 3, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), 4, 3, 100, 100, PATCOPY));
    // nothing for an empty rectangle, one outside, or another op
    const int empties[][4] = {
        {1, 1, 0, 2}, {5, 0, 2, 2}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MIN, 0, INT_MAX, 1}};
    for (auto [x, y, w, h] : empties) EXPECT_TRUE(PatBlt(dst.get(), x, y, w, h, PATCOPY));
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 5, 4, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), (Px{f, f, k, k, k, f, f, k, k, k, k, k, k, k, k, k, k, k, k, f}));

    EXPECT_TRUE(PatBlt(dst.get(), -1, -1, INT_MAX, INT_MAX, PATCOPY));
    EXPECT_EQ(Pixels(dst.get()), Px(20, f));
    EXPECT_EQ(SelectObject(dst.get(), (const Brush*)nullptr), brush);
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 1, 1, PATCOPY)) << "deselected, the brush no longer fills";
    DeleteObject(brush);
}

TEST(Surface, EveryDrawingCallGivesANeverUsedVersion) {
    EXPECT_EQ(CreateSurface(0, 1), nullptr);
    EXPECT_EQ(CreateSurface(16385, 1), nullptr);
    EXPECT_EQ(Pixels(Surface_ptr(CreateSurface(2, 2)).get()), Px(4, 0)) << "a new surface is black";

    std::set<uint64_t> seen;
    auto fresh = [&](const Surface* s) { return seen.insert(s->version).second; };
    auto a = Patterned(4, 4), b = Patterned(4, 4);
    EXPECT_TRUE(fresh(a.get()) && fresh(b.get()));
    // every drawing call marks what it wrote (damage_test.cpp), and so the version too
    const uint64_t read_only = b->version;
    EXPECT_TRUE(BitBlt(a.get(), 0, 0, 2, 2, b.get(), 1, 1, SRCCOPY) && fresh(a.get()));
    EXPECT_TRUE(BitBlt(a.get(), 1, 1, 2, 2, a.get(), 0, 0, SRCPAINT) && fresh(a.get()));
    EXPECT_EQ(b->version, read_only) << "being read changes nothing";
    // a surface made where a deleted one was still starts from a version never seen
    for (int i = 0; i < 20; i++) EXPECT_TRUE(fresh(Surface_ptr(CreateSurface(4, 4)).get()));
}
