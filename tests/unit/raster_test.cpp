// Raster ops, pixel by pixel: sprites, the masked cursor, fades and fills all rest on these.
#include "unit_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

// A value unique to every pixel, with all three channels varying.
uint32_t Pattern(int x, int y) {
    return (uint32_t)(x + 1) << 16 | (uint32_t)(y + 1) << 8 | (uint32_t)(0x40 + x * 3 + y * 5);
}

Surface_ptr Patterned(int width, int height) {
    Surface_ptr s(CreateSurface(width, height));
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            At(s.get(), x, y) = Pattern(x, y);
    return s;
}

Surface_ptr Copy_of(const Surface* s) {
    Surface_ptr c(CreateSurface(s->width, s->height));
    std::copy_n(s->pixels, (size_t)s->width * s->height, c->pixels);
    return c;
}

Surface_ptr Row(std::initializer_list<uint32_t> pixels) {
    Surface_ptr s(CreateSurface((int)pixels.size(), 1));
    std::copy(pixels.begin(), pixels.end(), s->pixels);
    return s;
}

// The w x h block at (dx, dy) of dst holds the block at (sx, sy) of src; every other pixel is
// as it was before.
void Expect_block(const std::vector<uint32_t>& before, const Surface* dst, const Surface* src, int dx, int dy,
                  int sx, int sy, int w, int h) {
    for (int y = 0; y < dst->height; y++) {
        for (int x = 0; x < dst->width; x++) {
            bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
            uint32_t want = inside ? At(src, sx + x - dx, sy + y - dy) : before[(size_t)y * dst->width + x];
            ASSERT_EQ(At(dst, x, y), want) << "at (" << x << ", " << y << ")";
        }
    }
}

} // namespace

TEST(BitBlt, CopiesAndsAndOrsPixels) {
    auto src = Row({0x0F0F0F, 0xA5A5A5, 0xA5A5A5});
    auto copy = Row({0x123456, 0xFFFFFF, 0x000000});
    auto anded = Copy_of(copy.get());
    auto ored = Copy_of(copy.get());

    EXPECT_TRUE(BitBlt(copy.get(), 0, 0, 3, 1, src.get(), 0, 0, SRCCOPY));
    EXPECT_EQ(Pixels(copy.get()), (std::vector<uint32_t>{0x0F0F0F, 0xA5A5A5, 0xA5A5A5}));
    EXPECT_TRUE(BitBlt(anded.get(), 0, 0, 3, 1, src.get(), 0, 0, SRCAND));
    EXPECT_EQ(Pixels(anded.get()), (std::vector<uint32_t>{0x020406, 0xA5A5A5, 0x000000}));
    EXPECT_TRUE(BitBlt(ored.get(), 0, 0, 3, 1, src.get(), 0, 0, SRCPAINT));
    EXPECT_EQ(Pixels(ored.get()), (std::vector<uint32_t>{0x1F3F5F, 0xFFFFFF, 0xA5A5A5}));

    // an op BitBlt does not know is refused and draws nothing
    auto before = Pixels(ored.get());
    EXPECT_FALSE(BitBlt(ored.get(), 0, 0, 3, 1, src.get(), 0, 0, PATCOPY));
    EXPECT_EQ(Pixels(ored.get()), before);
    EXPECT_FALSE(BitBlt(ored.get(), 0, 0, 3, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt((Surface*)nullptr, 0, 0, 3, 1, src.get(), 0, 0, SRCCOPY));
}

TEST(BitBlt, MaskThenSpriteDrawsTheCursorOverTheScene) {
    auto scene = Patterned(6, 4);
    auto before = Pixels(scene.get());
    // mask: white where the scene shows through, black under the cursor; sprite: black around it
    auto mask = Row({0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF});
    auto sprite = Row({0x000000, 0xFF0000, 0x20FF80, 0x000000});

    ASSERT_TRUE(BitBlt(scene.get(), 1, 2, 4, 1, mask.get(), 0, 0, SRCAND));
    ASSERT_TRUE(BitBlt(scene.get(), 1, 2, 4, 1, sprite.get(), 0, 0, SRCPAINT));

    auto want = before;
    want[2 * 6 + 2] = 0xFF0000;
    want[2 * 6 + 3] = 0x20FF80;
    EXPECT_EQ(Pixels(scene.get()), want);
}

TEST(BitBlt, ClipsToEveryEdgeOfBothSurfaces) {
    auto src = Patterned(4, 3);
    struct Case {
        const char* what;
        int x, y, w, h, sx, sy;
        int dx, dy, csx, csy, cw, ch; // the block that lands after clipping
    };
    const Case cases[] = {
        {"left of the destination", -1, 1, 3, 2, 0, 0, 0, 1, 1, 0, 2, 2},
        {"above the destination", 2, -2, 2, 3, 1, 0, 2, 0, 1, 2, 2, 1},
        {"past the destination's right", 4, 0, 4, 2, 0, 0, 4, 0, 0, 0, 2, 2},
        {"past the destination's bottom", 0, 3, 2, 5, 0, 0, 0, 3, 0, 0, 2, 2},
        {"left of the source", 1, 1, 3, 2, -2, 0, 3, 1, 0, 0, 1, 2},
        {"above the source", 1, 1, 2, 3, 0, -1, 1, 2, 0, 0, 2, 2},
        {"past the source's right", 0, 0, 5, 1, 2, 0, 0, 0, 2, 0, 2, 1},
        {"past the source's bottom", 0, 0, 2, 4, 0, 1, 0, 0, 0, 1, 2, 2},
        {"every edge at once", -1, -1, 10, 10, -1, 0, 0, 0, 0, 1, 4, 2},
        {"a size of INT_MAX", 0, 0, INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0, 4, 3},
        {"INT_MAX from just left", -1, 2, INT_MAX, INT_MAX, 0, 0, 0, 2, 1, 0, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dst = Solid(6, 5, 0x777777);
        auto before = Pixels(dst.get());
        EXPECT_TRUE(BitBlt(dst.get(), c.x, c.y, c.w, c.h, src.get(), c.sx, c.sy, SRCCOPY));
        Expect_block(before, dst.get(), src.get(), c.dx, c.dy, c.csx, c.csy, c.cw, c.ch);
    }

    struct Empty {
        const char* what;
        int x, y, w, h, sx, sy;
    };
    const Empty empties[] = {
        {"zero width", 0, 0, 0, 2, 0, 0},
        {"zero height", 0, 0, 2, 0, 0, 0},
        {"negative width", 2, 2, -2, 2, 0, 0},
        {"negative height", 2, 2, 2, -1, 0, 0},
        {"at dst's right edge", 6, 0, 2, 2, 0, 0},
        {"at dst's bottom edge", 0, 5, 2, 2, 0, 0},
        {"ending at dst's left", -3, 0, 3, 2, 0, 0},
        {"at src's right edge", 0, 0, 2, 2, 4, 0},
        {"ending at src's top", 0, 0, 2, 2, 0, -2},
        {"x at INT_MAX", INT_MAX, 0, INT_MAX, 1, 0, 0},
        {"y at INT_MAX", 0, INT_MAX, 1, INT_MAX, 0, 0},
        {"at INT_MIN", INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0},
        {"src at INT_MIN", 0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
        {"src at INT_MAX", 0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {"INT_MIN and INT_MAX", INT_MIN, 0, INT_MAX, 1, INT_MAX, 0},
        {"sizes INT_MIN", 0, 0, INT_MIN, INT_MIN, 0, 0},
    };
    for (const Empty& e : empties) {
        SCOPED_TRACE(e.what);
        auto dst = Solid(6, 5, 0x777777);
        auto before = Pixels(dst.get());
        for (DWORD rop : {SRCCOPY, SRCAND, SRCPAINT})
            BitBlt(dst.get(), e.x, e.y, e.w, e.h, src.get(), e.sx, e.sy, rop);
        EXPECT_EQ(Pixels(dst.get()), before);
    }
}

TEST(BitBlt, OverlappingCopyOnOneSurfaceReadsTheOriginalPixels) {
    struct Move {
        const char* what;
        int x, y, sx, sy, w, h;
    };
    const Move moves[] = {
        {"right and down", 2, 1, 0, 0, 5, 4},
        {"left and up", 0, 0, 2, 1, 5, 4},
        {"right along rows", 1, 0, 0, 0, 6, 5},
        {"left along rows", 0, 0, 1, 0, 6, 5},
        {"down", 0, 2, 0, 0, 7, 3},
        {"up", 0, 0, 0, 2, 7, 3},
        {"right and up", 2, 0, 0, 1, 5, 4},
        {"left and down", 0, 1, 2, 0, 5, 4},
    };
    for (DWORD rop : {SRCCOPY, SRCAND, SRCPAINT}) {
        for (const Move& m : moves) {
            SCOPED_TRACE(testing::Message() << m.what << ", rop " << std::hex << rop);
            auto self = Patterned(7, 5);
            auto separate = Patterned(7, 5);
            auto source = Patterned(7, 5);
            auto original = Pixels(self.get());
            ASSERT_TRUE(BitBlt(self.get(), m.x, m.y, m.w, m.h, self.get(), m.sx, m.sy, rop));
            ASSERT_TRUE(BitBlt(separate.get(), m.x, m.y, m.w, m.h, source.get(), m.sx, m.sy, rop));
            EXPECT_EQ(Pixels(self.get()), Pixels(separate.get()));
            EXPECT_NE(Pixels(self.get()), original);
        }
    }
}

TEST(AlphaBlend, WeighsEachChannelWithBothTermsTruncated) {
    // chosen so that truncating the sum instead of each term, or rounding, gives other values
    auto src = Row({0xFE03FF, 0x008001, 0x64C832});
    auto base = Row({0xFE0700, 0xFF8001, 0x0A141E});
    auto blend = [&](uint8_t a) {
        auto dst = Copy_of(base.get());
        EXPECT_TRUE(
            AlphaBlend(dst.get(), 0, 0, 3, 1, src.get(), 0, 0, 3, 1, BLENDFUNCTION{AC_SRC_OVER, 0, a, 0}));
        return Pixels(dst.get());
    };
    EXPECT_EQ(blend(0), Pixels(base.get()));
    EXPECT_EQ(blend(255), Pixels(src.get()));
    EXPECT_EQ(blend(127), (std::vector<uint32_t>{0xFD047F, 0x807F00, 0x366D27}));

    // clipped like BitBlt: only the last two source pixels land, at the left edge
    auto dst = Copy_of(base.get());
    EXPECT_TRUE(
        AlphaBlend(dst.get(), -1, 0, 3, 1, src.get(), 0, 0, 3, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{0x008001, 0x64C832, 0x0A141E}));

    // a blend that would stretch, or another op, is refused
    auto before = Pixels(dst.get());
    EXPECT_FALSE(
        AlphaBlend(dst.get(), 0, 0, 3, 1, src.get(), 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
    EXPECT_FALSE(AlphaBlend(dst.get(), 0, 0, 3, 1, src.get(), 0, 0, 3, 1, BLENDFUNCTION{1, 0, 255, 0}));
    EXPECT_TRUE(AlphaBlend(dst.get(), INT_MIN, 0, INT_MAX, 1, src.get(), 0, 0, INT_MAX, 1,
                           BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
    EXPECT_EQ(Pixels(dst.get()), before);

    // blending a surface onto itself, shifted, reads the pixels as they were
    auto self = Copy_of(src.get());
    EXPECT_TRUE(
        AlphaBlend(self.get(), 1, 0, 2, 1, self.get(), 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 127, 0}));
    EXPECT_EQ(Pixels(self.get()), (std::vector<uint32_t>{0xFE03FF, 0x7E417F, 0x32A319}));
}

TEST(StretchBlt, PicksTheNearestSourcePixel) {
    auto src = Patterned(4, 4);
    const uint32_t k = 0x777777;

    // 4x4 to 2x2: destination pixel i takes source pixel i * 4 / 2
    auto dst = Solid(4, 3, k);
    EXPECT_TRUE(StretchBlt(dst.get(), 1, 1, 2, 2, src.get(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{k, k, k, k,                         //
                                                        k, Pattern(0, 0), Pattern(2, 0), k, //
                                                        k, Pattern(0, 2), Pattern(2, 2), k}));

    // 2x2 to 4x4 doubles every pixel
    dst = Solid(4, 4, k);
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, 4, 4, src.get(), 1, 2, 2, 2, SRCCOPY));
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(At(dst.get(), x, y), Pattern(1 + x / 2, 2 + y / 2)) << x << "," << y;

    // the same growth from above-left of the destination: the clipped part keeps its mapping
    dst = Solid(3, 3, k);
    EXPECT_TRUE(StretchBlt(dst.get(), -1, -1, 4, 4, src.get(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{Pattern(0, 0), Pattern(1, 0), Pattern(1, 0), //
                                                        Pattern(0, 1), Pattern(1, 1), Pattern(1, 1), //
                                                        Pattern(0, 1), Pattern(1, 1), Pattern(1, 1)}));
    // and running past the right and bottom
    dst = Solid(3, 3, k);
    EXPECT_TRUE(StretchBlt(dst.get(), 1, 1, 4, 4, src.get(), 2, 2, 2, 2, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{k, k, k,                         //
                                                        k, Pattern(2, 2), Pattern(2, 2), //
                                                        k, Pattern(2, 2), Pattern(2, 2)}));

    // source pixels outside the source are not drawn
    dst = Solid(2, 1, k);
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, 2, 1, src.get(), -1, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{k, Pattern(0, 0)}));

    // nothing at all for an empty rectangle or one far outside; other ops are refused
    dst = Solid(3, 3, k);
    auto before = Pixels(dst.get());
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, 0, 3, src.get(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, 3, 3, src.get(), 0, 0, 0, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, -3, 3, src.get(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.get(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, src.get(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.get(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.get(), 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dst.get(), 0, 0, 3, 3, src.get(), INT_MAX, INT_MIN, INT_MAX, INT_MAX, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dst.get(), 0, 0, 3, 3, src.get(), 0, 0, 4, 4, SRCAND));
    EXPECT_EQ(Pixels(dst.get()), before);
}

TEST(PatBlt, FillsWithTheSelectedBrushClipped) {
    auto dst = Solid(5, 4, 0x777777);
    // without a brush there is nothing to fill with
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 5, 4, PATCOPY));
    EXPECT_EQ(Pixels(dst.get()), Pixels(Solid(5, 4, 0x777777).get()));

    Brush* brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(SelectObject(dst.get(), brush), nullptr);
    const uint32_t k = 0x777777, f = 0x123456; // the COLORREF's red byte is the pixel's high byte

    EXPECT_TRUE(PatBlt(dst.get(), -2, -1, 4, 3, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), 4, 3, 100, 100, PATCOPY));
    EXPECT_EQ(Pixels(dst.get()), (std::vector<uint32_t>{f, f, k, k, k, //
                                                        f, f, k, k, k, //
                                                        k, k, k, k, k, //
                                                        k, k, k, k, f}));

    auto before = Pixels(dst.get());
    EXPECT_TRUE(PatBlt(dst.get(), 1, 1, 0, 2, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), 1, 1, 2, -2, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), 5, 0, 2, 2, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), -2, 0, 2, 2, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), INT_MAX, INT_MAX, INT_MAX, INT_MAX, PATCOPY));
    EXPECT_TRUE(PatBlt(dst.get(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, PATCOPY));
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 5, 4, SRCCOPY));
    EXPECT_EQ(Pixels(dst.get()), before);

    EXPECT_TRUE(PatBlt(dst.get(), -1, -1, INT_MAX, INT_MAX, PATCOPY));
    EXPECT_EQ(Pixels(dst.get()), Pixels(Solid(5, 4, f).get()));

    // deselected, the brush no longer fills
    EXPECT_EQ(SelectObject(dst.get(), (const Brush*)nullptr), brush);
    EXPECT_FALSE(PatBlt(dst.get(), 0, 0, 1, 1, PATCOPY));
    DeleteObject(brush);
}

TEST(Surface, EveryDrawingCallGivesANeverUsedVersion) {
    EXPECT_EQ(CreateSurface(0, 1), nullptr);
    EXPECT_EQ(CreateSurface(1, -1), nullptr);
    EXPECT_EQ(CreateSurface(16385, 1), nullptr);

    std::set<uint64_t> seen;
    auto fresh = [&](const Surface* s) { return seen.insert(s->version).second; };
    auto a = Patterned(4, 4), b = Patterned(4, 4);
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(fresh(b.get()));
    EXPECT_EQ(Pixels(Solid(2, 2, 0).get()), std::vector<uint32_t>(4, 0)) << "a new surface is black";

    Brush* brush = CreateSolidBrush(RGB(1, 2, 3));
    SelectObject(a.get(), brush);
    uint64_t source_version = b->version;
    EXPECT_TRUE(BitBlt(a.get(), 0, 0, 2, 2, b.get(), 0, 0, SRCCOPY));
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(BitBlt(a.get(), 0, 0, 2, 2, b.get(), 0, 0, SRCAND));
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(BitBlt(a.get(), 1, 1, 2, 2, a.get(), 0, 0, SRCPAINT));
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(StretchBlt(a.get(), 0, 0, 4, 4, b.get(), 0, 0, 2, 2, SRCCOPY));
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(AlphaBlend(a.get(), 0, 0, 2, 2, b.get(), 0, 0, 2, 2, BLENDFUNCTION{AC_SRC_OVER, 0, 100, 0}));
    EXPECT_TRUE(fresh(a.get()));
    EXPECT_TRUE(PatBlt(a.get(), 0, 0, 1, 1, PATCOPY));
    EXPECT_TRUE(fresh(a.get()));
    // being read changes nothing
    EXPECT_EQ(b->version, source_version);
    DeleteObject(brush);

    // a surface made where a deleted one was still starts from a version never seen
    for (int i = 0; i < 20; i++) {
        Surface_ptr s(CreateSurface(4, 4));
        EXPECT_TRUE(fresh(s.get()));
        EXPECT_TRUE(BitBlt(s.get(), 0, 0, 1, 1, b.get(), 0, 0, SRCCOPY));
        EXPECT_TRUE(fresh(s.get()));
    }
}
