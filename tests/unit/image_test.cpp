// BMP loading: every depth and compression the game's pictures come in, written to disk here
// byte by byte, and malformed files that must be refused without a read past their data.
#include "unit_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

struct Bmp {
    Bmp(int32_t width, int32_t height, uint16_t bpp, uint32_t compression = BI_RGB,
        std::vector<uint32_t> palette = {})
        : width(width), height(height), bpp(bpp), compression(compression),
          colors_used((uint32_t)palette.size()), palette(std::move(palette)) {}

    uint32_t header = 40;  // 12 (core), 40, 108 (V4) or 124 (V5) bytes
    int32_t width, height; // a negative height stores the rows top-down
    uint16_t bpp;
    uint32_t compression;
    uint32_t colors_used;          // written for all but a core header
    std::vector<uint32_t> palette; // 0x00RRGGBB
    std::vector<uint32_t> masks;   // red, green, blue: after a 40-byte header, inside a V4/V5 one
    std::vector<uint8_t> data;     // the pixel bytes as stored
};

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

std::vector<uint8_t> Encode(const Bmp& bmp) {
    std::vector<uint8_t> info;
    if (bmp.header == 12) {
        Put32(info, 12);
        Put16(info, (uint32_t)bmp.width);
        Put16(info, (uint32_t)bmp.height);
        Put16(info, 1);
        Put16(info, bmp.bpp);
    } else {
        Put32(info, bmp.header);
        Put32(info, (uint32_t)bmp.width);
        Put32(info, (uint32_t)bmp.height);
        Put16(info, 1);
        Put16(info, bmp.bpp);
        Put32(info, bmp.compression);
        Put32(info, (uint32_t)bmp.data.size());
        Put32(info, 2835);
        Put32(info, 2835);
        Put32(info, bmp.colors_used);
        Put32(info, 0);
        if (bmp.header > 40) {
            for (int i = 0; i < 4; i++)
                Put32(info, i < (int)bmp.masks.size() ? bmp.masks[i] : 0);
            Put32(info, 0x73524742); // LCS_sRGB
            info.resize(bmp.header, 0);
        } else {
            for (uint32_t m : bmp.masks)
                Put32(info, m);
        }
    }
    std::vector<uint8_t> file{'B', 'M'};
    size_t entry = bmp.header == 12 ? 3 : 4;
    size_t offset = 14 + info.size() + bmp.palette.size() * entry;
    Put32(file, (uint32_t)(offset + bmp.data.size()));
    Put32(file, 0);
    Put32(file, (uint32_t)offset);
    file.insert(file.end(), info.begin(), info.end());
    for (uint32_t c : bmp.palette) {
        file.push_back((uint8_t)c);
        file.push_back((uint8_t)(c >> 8));
        file.push_back((uint8_t)(c >> 16));
        if (entry == 4) file.push_back(0);
    }
    file.insert(file.end(), bmp.data.begin(), bmp.data.end());
    return file;
}

// Rows of pixel values (palette indices or packed pixels) in the order stored, each padded to
// four bytes with a filler that the reader has to skip.
std::vector<uint8_t> Pack(int bpp, const std::vector<std::vector<uint32_t>>& rows) {
    std::vector<uint8_t> out;
    for (const auto& row : rows) {
        size_t start = out.size();
        if (bpp < 8) {
            int per_byte = 8 / bpp;
            for (size_t i = 0; i < row.size(); i += per_byte) {
                uint32_t byte = 0;
                for (int k = 0; k < per_byte && i + k < row.size(); k++)
                    byte |= row[i + k] << (8 - bpp * (k + 1));
                out.push_back((uint8_t)byte);
            }
        } else {
            for (uint32_t v : row)
                for (int k = 0; k < bpp / 8; k++)
                    out.push_back((uint8_t)(v >> (8 * k)));
        }
        while ((out.size() - start) % 4)
            out.push_back(0xA5);
    }
    return out;
}

class Image : public testing::Test {
  protected:
    // Writes the bytes to a file of their own and loads it.
    Surface_ptr Load(const std::vector<uint8_t>& bytes) {
        std::string path = dir / ("picture" + std::to_string(files++) + ".bmp");
        EXPECT_TRUE(Write_file(path, bytes));
        return Surface_ptr(LoadImage(path.c_str()));
    }
    // The loaded picture is exactly these rows, top row first.
    void Expect_picture(const Bmp& bmp, const std::vector<std::vector<uint32_t>>& rows) {
        auto s = Load(Encode(bmp));
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->height, (int)rows.size());
        ASSERT_EQ(s->width, (int)rows[0].size());
        for (int y = 0; y < s->height; y++)
            for (int x = 0; x < s->width; x++)
                EXPECT_EQ(At(s.get(), x, y), rows[y][x]) << std::hex << "at (" << x << ", " << y << ")";
    }

    Temp_dir dir;
    int files = 0;
};

// Bytes of a file with a 32-bit value put at an offset.
std::vector<uint8_t> With32(std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; k++)
        b[at + k] = (uint8_t)(v >> (8 * k));
    return b;
}
std::vector<uint8_t> With16(std::vector<uint8_t> b, size_t at, uint32_t v) {
    b[at] = (uint8_t)v;
    b[at + 1] = (uint8_t)(v >> 8);
    return b;
}
std::vector<uint8_t> Cut(std::vector<uint8_t> b, size_t size) {
    b.resize(size);
    return b;
}

} // namespace

TEST_F(Image, LoadsPalettedDepthsBottomUpWithPaddedRows) {
    ASSERT_TRUE(dir.ok());
    const uint32_t A = 0x102030, B = 0xA0B0C0;
    Bmp one(10, 2, 1, BI_RGB, {A, B});
    one.data = Pack(1, {{1, 0, 0, 1, 1, 0, 1, 0, 1, 1}, {0, 1, 1, 0, 0, 0, 0, 1, 0, 1}});
    Expect_picture(one, {{A, B, B, A, A, A, A, B, A, B}, {B, A, A, B, B, A, B, A, B, B}});

    // a core header: three-byte palette entries, as many as the depth allows
    Bmp four(5, 3, 4);
    four.header = 12;
    for (uint32_t i = 0; i < 16; i++)
        four.palette.push_back(i << 20 | (15 - i) << 12 | 0x3C);
    auto c = [&](uint32_t i) { return four.palette[i]; };
    four.data = Pack(4, {{0, 15, 7, 8, 1}, {2, 3, 4, 5, 6}, {9, 10, 11, 12, 13}});
    Expect_picture(four, {{c(9), c(10), c(11), c(12), c(13)},
                          {c(2), c(3), c(4), c(5), c(6)},
                          {c(0), c(15), c(7), c(8), c(1)}});

    Bmp eight(3, 2, 8, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF, 0x123456});
    eight.header = 108;
    eight.data = Pack(8, {{3, 0, 1}, {2, 2, 3}});
    Expect_picture(eight, {{0x0000FF, 0x0000FF, 0x123456}, {0x123456, 0xFF0000, 0x00FF00}});
}

TEST_F(Image, LoadsDirectColourDepthsAndMasks) {
    ASSERT_TRUE(dir.ok());
    // 5-5-5 by default, the top bit unused; full 5 and 6-bit channels widen to exactly 0xFF
    Bmp rgb555(3, 2, 16);
    rgb555.data = Pack(16, {{0x7C00, 0x03E0, 0x001F}, {0xFFFF, 0x8000, 0x7FFF}});
    Expect_picture(rgb555, {{0xFFFFFF, 0x000000, 0xFFFFFF}, {0xFF0000, 0x00FF00, 0x0000FF}});

    Bmp rgb565(3, 2, 16, BI_BITFIELDS);
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.data = Pack(16, {{0xF800, 0x07E0, 0x001F}, {0xFFFF, 0x0000, 0x07FF}});
    Expect_picture(rgb565, {{0xFFFFFF, 0x000000, 0x00FFFF}, {0xFF0000, 0x00FF00, 0x0000FF}});

    // values in between scale to within one step of v * 255 / max
    rgb555.data = Pack(16, {{16 << 10 | 8 << 5 | 1, 0, 0}, {0, 0, 0}});
    rgb565.data = Pack(16, {{16 << 11 | 32 << 5 | 30, 0, 0}, {0, 0, 0}});
    const double widened[2][3] = {{16 * 255 / 31.0, 8 * 255 / 31.0, 1 * 255 / 31.0},
                                  {16 * 255 / 31.0, 32 * 255 / 63.0, 30 * 255 / 31.0}};
    for (int i = 0; i < 2; i++) {
        auto s = Load(Encode(i == 0 ? rgb555 : rgb565));
        ASSERT_NE(s, nullptr);
        uint32_t p = At(s.get(), 0, 1);
        for (int c = 0; c < 3; c++)
            EXPECT_NEAR((double)(p >> (16 - 8 * c) & 0xFF), widened[i][c], 1.0) << i << c;
    }

    Bmp bgr24(3, 2, 24);
    bgr24.data = Pack(24, {{0x123456, 0xABCDEF, 0x010203}, {0xFFFFFF, 0x000000, 0x808080}});
    Expect_picture(bgr24, {{0xFFFFFF, 0x000000, 0x808080}, {0x123456, 0xABCDEF, 0x010203}});

    Bmp top_down = bgr24;
    top_down.height = -2;
    Expect_picture(top_down, {{0x123456, 0xABCDEF, 0x010203}, {0xFFFFFF, 0x000000, 0x808080}});

    Bmp core24 = bgr24;
    core24.header = 12;
    Expect_picture(core24, {{0xFFFFFF, 0x000000, 0x808080}, {0x123456, 0xABCDEF, 0x010203}});

    // the fourth byte of a plain 32-bit pixel is not part of the colour
    Bmp bgrx(2, -2, 32);
    bgrx.data = Pack(32, {{0x00123456, 0xFF654321}, {0x80FFFFFF, 0x7F000001}});
    Expect_picture(bgrx, {{0x123456, 0x654321}, {0xFFFFFF, 0x000001}});

    // masks after a 40-byte header: the bytes are red, green, blue, unused
    Bmp rgbx(2, 1, 32, BI_BITFIELDS);
    rgbx.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    rgbx.data = Pack(32, {{0x00563412, 0xEEEFCDAB}});
    Expect_picture(rgbx, {{0x123456, 0xABCDEF}});

    // masks inside V4 and V5 headers: unused, blue, green, red
    for (uint32_t header : {108u, 124u}) {
        SCOPED_TRACE(header);
        Bmp xbgr(2, 2, 32, BI_BITFIELDS);
        xbgr.header = header;
        xbgr.masks = {0xFF000000, 0x00FF0000, 0x0000FF00, 0};
        xbgr.data = Pack(32, {{0x12345600, 0xABCDEF77}, {0xFF000000, 0x00FF00FF}});
        Expect_picture(xbgr, {{0xFF0000, 0x00FF00}, {0x123456, 0xABCDEF}});
    }
}

TEST_F(Image, DecodesRunLengthWithDeltaAndLineEnds) {
    ASSERT_TRUE(dir.ok());
    const uint32_t P0 = 0x0A0B0C, P1 = 0xFF0000, P2 = 0x00FF00, P3 = 0x0000FF;
    // pixels a delta or a line end skips keep palette colour 0
    Bmp rle8(4, 3, 8, BI_RLE8, {P0, P1, P2, P3});
    rle8.data = {
        0x02, 0x01,                         // bottom row: two of colour 1
        0x00, 0x02, 0x01, 0x01,             // delta one right, one up: (3, middle row)
        0x01, 0x03,                         // one of colour 3
        0x00, 0x00,                         // end of line: top row
        0x00, 0x03, 0x02, 0x03, 0x02, 0x00, // three literal pixels, padded to a word
        0x01, 0x01,                         // one of colour 1
        0x00, 0x01,                         // end of picture
    };
    Expect_picture(rle8, {{P2, P3, P2, P1}, {P0, P0, P0, P3}, {P1, P1, P0, P0}});

    Bmp rle4(6, 2, 4, BI_RLE4, {P0, P1, P2, P3});
    rle4.data = {
        0x04, 0x12,                         // bottom row: 1 2 1 2
        0x00, 0x02, 0x01, 0x00,             // delta one right
        0x01, 0x30,                         // 3
        0x00, 0x00,                         // end of line
        0x00, 0x05, 0x31, 0x23, 0x10, 0x00, // five literal pixels 3 1 2 3 1, padded to a word
        0x01, 0x20,                         // 2
        0x00, 0x00,                         // end of line after the last, as many encoders write
        0x00, 0x01,                         // end of picture
    };
    Expect_picture(rle4, {{P3, P1, P2, P3, P1, P2}, {P1, P2, P1, P2, P0, P3}});
}

TEST_F(Image, RefusesMalformedFiles) {
    ASSERT_TRUE(dir.ok());
    EXPECT_EQ(LoadImage(nullptr), nullptr);
    EXPECT_EQ(LoadImage((dir / "missing.bmp").c_str()), nullptr);
    std::filesystem::create_directory(dir / "folder.bmp");
    EXPECT_EQ(LoadImage((dir / "folder.bmp").c_str()), nullptr);

    Bmp rgb(3, 2, 24);
    rgb.data = Pack(24, {{1, 2, 3}, {4, 5, 6}});
    const auto rgb_file = Encode(rgb);
    Bmp indexed(3, 2, 8, BI_RGB, {0xFF0000, 0x00FF00});
    indexed.data = Pack(8, {{0, 1, 0}, {1, 0, 1}});
    const auto indexed_file = Encode(indexed);
    ASSERT_NE(Load(rgb_file), nullptr);
    ASSERT_NE(Load(indexed_file), nullptr);

    // offsets in a file with a 40-byte header
    constexpr size_t kOffBits = 10, kWidth = 18, kHeight = 22, kPlanes = 26, kBpp = 28, kCompression = 30;
    auto rle8 = [](std::vector<uint8_t> stream, int32_t width = 4, int32_t height = 2, uint32_t colors = 4) {
        Bmp b(width, height, 8, BI_RLE8, std::vector<uint32_t>(colors, 0x336699));
        b.data = std::move(stream);
        return Encode(b);
    };
    auto rle4 = [](std::vector<uint8_t> stream) {
        Bmp b(4, 1, 4, BI_RLE4, {1, 2, 3, 4});
        b.data = std::move(stream);
        return Encode(b);
    };
    auto direct = [](uint16_t bpp, uint32_t compression, std::vector<uint32_t> masks) {
        Bmp b(3, 2, bpp, compression);
        b.masks = std::move(masks);
        b.data = Pack(bpp, {{1, 2, 3}, {4, 5, 6}});
        return Encode(b);
    };
    Bmp one(9, 1, 1, BI_RGB, {0xFFFFFF});
    one.data = Pack(1, {{0, 0, 0, 0, 0, 0, 0, 0, 1}});
    Bmp four(3, 1, 4, BI_RGB, {1, 2, 3});
    four.data = Pack(4, {{0, 2, 5}});
    Bmp core(0, 2, 24);
    core.header = 12;
    Bmp eight = indexed;
    eight.data = Pack(8, {{0, 1, 2}, {1, 0, 1}});

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"the file header alone", Cut(rgb_file, 14)},
        {"a header cut short", Cut(rgb_file, 26)},
        {"an info header cut short", Cut(rgb_file, 14 + 30)},
        {"signature BA", With16(rgb_file, 0, 'B' | 'A' << 8)},
        {"an unknown info header size", With32(rgb_file, 14, 41)},
        {"width 0", With32(rgb_file, kWidth, 0)},
        {"negative width", With32(rgb_file, kWidth, (uint32_t)-3)},
        {"width INT_MIN", With32(rgb_file, kWidth, (uint32_t)INT_MIN)},
        {"height 0", With32(rgb_file, kHeight, 0)},
        {"height INT_MIN", With32(rgb_file, kHeight, (uint32_t)INT_MIN)},
        {"100000 x 100000", With32(With32(rgb_file, kWidth, 100000), kHeight, 100000)},
        {"16385 wide", With32(rgb_file, kWidth, 16385)},
        {"a core header of width 0", Encode(core)},
        {"2 planes", With16(rgb_file, kPlanes, 2)},
        {"7 bits per pixel", With16(rgb_file, kBpp, 7)},
        {"2 bits per pixel", With16(rgb_file, kBpp, 2)},
        {"JPEG compression", With32(rgb_file, kCompression, 4)},
        {"compression 0xFFFFFFFF", With32(rgb_file, kCompression, 0xFFFFFFFF)},
        {"24-bit pixels with bit fields", With32(rgb_file, kCompression, BI_BITFIELDS)},
        {"24-bit pixels as RLE8", With32(rgb_file, kCompression, BI_RLE8)},
        {"8-bit pixels as RLE4", With32(indexed_file, kCompression, BI_RLE4)},
        {"24-bit pixels a byte short", Cut(rgb_file, rgb_file.size() - 1)},
        {"8-bit pixels a row short", Cut(indexed_file, indexed_file.size() - 4)},
        {"16-bit bit fields a byte short", Cut(direct(16, BI_BITFIELDS, {0xF800, 0x7E0, 0x1F}), 66 + 15)},
        {"32-bit bit fields a byte short", Cut(direct(32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}), 66 + 23)},
        {"32-bit pixels a row short", Cut(direct(32, BI_RGB, {}), 54 + 12)},
        {"pixel data at the end of the file", With32(rgb_file, kOffBits, (uint32_t)rgb_file.size())},
        {"pixel data past the end of the file", With32(rgb_file, kOffBits, (uint32_t)rgb_file.size() + 100)},
        {"pixel data at 0xFFFFFFFF", With32(rgb_file, kOffBits, 0xFFFFFFFF)},
        {"pixel data inside the header", With32(rgb_file, kOffBits, 20)},
        {"an 8-bit index past the palette", Encode(eight)},
        {"a 4-bit index past the palette", Encode(four)},
        {"a 1-bit index past the palette", Encode(one)},
        {"an RLE8 index past the palette", rle8({0x04, 0x02, 0x00, 0x00, 0x04, 0x00, 0x00, 0x01}, 4, 2, 2)},
        {"an RLE8 run past the row end", rle8({0x05, 0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0x01})},
        {"RLE8 literals past the row end", rle8({0x00, 0x05, 1, 2, 3, 1, 2, 0x00, 0x00, 0x00, 0x00, 0x01})},
        {"an RLE8 run past the last row",
         rle8({0x04, 0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0x01})},
        {"an RLE8 delta past the picture", rle8({0x00, 0x02, 0x01, 0x05, 0x01, 0x01, 0x00, 0x01})},
        {"an RLE8 delta past the row end",
         rle8({0x02, 0x01, 0x00, 0x02, 0x03, 0x00, 0x01, 0x01, 0x00, 0x01})},
        {"an RLE8 stream without its end", rle8({0x04, 0x01, 0x00, 0x00, 0x04, 0x01})},
        {"an RLE8 stream ending inside an escape", rle8({0x04, 0x01, 0x00})},
        {"RLE8 literals cut short", rle8({0x00, 0x04, 1, 2})},
        {"an RLE8 run cut short", rle8({0x04})},
        {"an RLE4 run past the row end", rle4({0x05, 0x12, 0x00, 0x01})},
        {"RLE4 literals past the row end", rle4({0x00, 0x06, 0x12, 0x12, 0x12, 0x00, 0x00, 0x01})},
        {"an RLE4 stream without its end", rle4({0x04, 0x12})},
        {"top-down RLE8",
         With32(rle8({0x04, 0x01, 0x00, 0x00, 0x04, 0x01, 0x00, 0x01}), kHeight, (uint32_t)-2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Load(c.bytes), nullptr);
    }
}
