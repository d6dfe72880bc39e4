// BMP loading: every depth and compression the game uses; malformed files refused, never over-read.
#include "unit_support.h"

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

// Rows of values (palette indices or pixels) as stored, each padded to four bytes with a filler
// the reader has to skip.
static Bytes Pack(int bpp, const std::vector<Px>& rows) {
    Bytes out;
    for (const Px& row : rows) {
        size_t start = out.size();
        for (size_t i = 0; i < row.size(); i++) {
            for (int k = 0; k < bpp / 8; k++) out.push_back((uint8_t)(row[i] >> 8 * k));
            if (bpp < 8 && i % (8 / bpp) == 0) out.push_back(0);
            if (bpp < 8) out.back() |= (uint8_t)(row[i] << (8 - bpp * (i % (8 / bpp) + 1)));
        }
        while ((out.size() - start) % 4) out.push_back(0xA5);
    }
    return out;
}

static Surface_ptr Load(const std::string& bytes) {
    static Temp_dir dir;
    std::string path = dir / "picture.bmp";
    EXPECT_TRUE(std::ofstream(path, std::ios::binary) << bytes);
    return Surface_ptr(LoadImage(path.c_str()));
}
static void Expect_picture(const std::string& file, const Px& want) {
    auto s = Load(file);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Pixels(s.get()), want);
}

static std::string With(std::string b, size_t at, uint32_t v, int bytes = 4) {
    return b.replace(at, bytes, Le(v, bytes));
}

TEST(Image, LoadsPalettedDepthsBottomUpWithPaddedRows) {
    const uint32_t A = 0x102030, C = 0xA0B0C0;
    Expect_picture(Bmp_file(9, 1, 1, Pack(1, {{1, 0, 0, 1, 1, 0, 1, 0, 1}}), {A, C}),
                   {C, A, A, C, C, A, C, A, C});
    Expect_picture(Bmp_file(3, 2, 8, Pack(8, {{3, 0, 1}, {2, 2, 3}}), {R, G, B, 0x123456}, BI_RGB, 108),
                   {B, B, 0x123456, 0x123456, R, G});
}

TEST(Image, LoadsDirectColourDepthsAndMasks) {
    // 5-5-5 by default, the top bit unused; full 5 and 6-bit channels widen to exactly 0xFF
    Expect_picture(Bmp_file(5, 1, 16, Pack(16, {{0x7C00, 0x03E0, 0x001F, 0xFFFF, 0x8000}})), {R, G, B, W, K});
    const Px m565{0xF800, 0x07E0, 0x001F};
    Expect_picture(
        Bmp_file(5, 1, 16, Pack(16, {{0xF800, 0x07E0, 0x001F, 0xFFFF, 0x07FF}}), {}, BI_BITFIELDS, 40, m565),
        {R, G, B, W, 0x00FFFF});
    const Bytes rows = Pack(24, {{0x123456, 0xABCDEF, 0x010203}, {W, K, 0x808080}});
    const Px bottom_up{W, K, 0x808080, 0x123456, 0xABCDEF, 0x010203};
    Expect_picture(Bmp_file(3, 2, 24, rows), bottom_up);
    Expect_picture(Bmp_file(3, 2, 24, rows, {}, BI_RGB, 12), bottom_up);
    Expect_picture(Bmp_file(3, -2, 24, rows), {0x123456, 0xABCDEF, 0x010203, W, K, 0x808080});
    // masks in a V5 header: bytes unused, blue, green, red
    const Px xbgr{0xFF000000, 0xFF0000, 0xFF00};
    Expect_picture(Bmp_file(2, 1, 32, Pack(32, {{0x12345600, 0xABCDEF77}}), {}, BI_BITFIELDS, 124, xbgr),
                   {0x123456, 0xABCDEF});
}

TEST(Image, DecodesRunLengthWithDeltaAndLineEnds) {
    // pixels a delta or a line end skips keep palette colour 0
    const uint32_t Z = 0x0A0B0C;
    // bottom row: two of colour 1; delta one right and one up; one of 3; end of line; three literals
    // (2 3 2) padded to a word; one of 1; end of picture
    Expect_picture(Bmp_file(4, 3, 8, {2, 1, 0, 2, 1, 1, 1, 3, 0, 0, 0, 3, 2, 3, 2, 0, 1, 1, 0, 1},
                            {Z, R, G, B}, BI_RLE8),
                   {G, B, G, R, Z, Z, Z, B, R, R, Z, Z});
    // bottom row: 1 2 1 2; delta one right; 3; end of line; five literals 3 1 2 3 1 padded to a word;
    // 2; an end of line after the last row, as encoders write; end of picture
    Expect_picture(Bmp_file(6, 2, 4, {4, 0x12, 0,    2,    1, 0, 1,    0x30, 0, 0, 0,
                                      5, 0x31, 0x23, 0x10, 0, 1, 0x20, 0,    0, 0, 1},
                            {Z, R, G, B}, BI_RLE4),
                   {B, R, G, B, R, G, R, G, R, G, Z, B});
}

TEST(Image, RefusesMalformedFiles) {
    EXPECT_EQ(LoadImage(nullptr), nullptr);
    EXPECT_EQ(LoadImage("no/such/picture.bmp"), nullptr);
    EXPECT_EQ(LoadImage("."), nullptr) << "a folder";

    const std::string rgb = Bmp_file(3, 2, 24, Pack(24, {{1, 2, 3}, {4, 5, 6}}));
    const std::string indexed = Bmp_file(3, 2, 8, Pack(8, {{0, 1, 0}, {1, 0, 1}}), {R, G});
    const std::string fields =
        Bmp_file(3, 2, 32, Pack(32, {{1, 2, 3}, {4, 5, 6}}), {}, BI_BITFIELDS, 40, {0xFF, 0xFF00, 0xFF0000});
    auto rle = [](int bpp, const Bytes& s) {
        return Bmp_file(4, 2, bpp, s, Px(4, 1), bpp == 8 ? BI_RLE8 : BI_RLE4);
    };
    for (const std::string& picture :
         {rgb, indexed, fields, rle(8, {4, 1, 0, 0, 4, 1, 0, 1}), rle(4, {4, 0x12, 0, 1})})
        ASSERT_NE(Load(picture), nullptr);
    auto cut = [](const std::string& b, size_t n) { return b.substr(0, n); };
    // file offsets: 10 pixel data, 18 width, 22 height, 26 planes, 28 depth, 30 compression
    EXPECT_EQ(Load(cut(rgb, 14)), nullptr) << "the file header alone";
    EXPECT_EQ(Load(cut(rgb, 26)), nullptr) << "an info header cut short";
    EXPECT_EQ(Load(With(rgb, 0, 'B' | 'A' << 8, 2)), nullptr) << "signature BA";
    EXPECT_EQ(Load(With(rgb, 14, 41)), nullptr) << "an unknown info header size";
    EXPECT_EQ(Load(With(rgb, 18, 0)), nullptr) << "width 0";
    EXPECT_EQ(Load(With(rgb, 22, (uint32_t)INT_MIN)), nullptr) << "height INT_MIN";
    EXPECT_EQ(Load(Bmp_file(8192, 4096, 8, {0, 1}, Px(4, 1), BI_RLE8)), nullptr) << "too many pixels";
    EXPECT_EQ(Load(With(rgb, 26, 2, 2)), nullptr) << "2 planes";
    EXPECT_EQ(Load(With(rgb, 28, 2, 2)), nullptr) << "2 bits per pixel";
    EXPECT_EQ(Load(With(rgb, 30, 4)), nullptr) << "JPEG";
    EXPECT_EQ(Load(With(indexed, 30, BI_RLE4)), nullptr) << "a compression the depth cannot have";
    EXPECT_EQ(Load(cut(rgb, rgb.size() - 1)), nullptr) << "pixels a byte short";
    EXPECT_EQ(Load(cut(fields, fields.size() - 1)), nullptr) << "bit-field pixels a byte short";
    EXPECT_EQ(Load(With(rgb, 10, (uint32_t)rgb.size() + 100)), nullptr) << "pixel data past the end";
    EXPECT_EQ(Load(With(rgb, 10, 20)), nullptr) << "pixel data inside the header";
    EXPECT_EQ(Load(rle(8, {4, 1, 0, 0, 4, 4, 0, 1})), nullptr) << "an index past the palette";
    EXPECT_EQ(Load(rle(8, {5, 1, 0, 0, 4, 1, 0, 1})), nullptr) << "a run past the row end";
    EXPECT_EQ(Load(rle(4, {0, 6, 0x12, 0x12, 0x12, 0, 0, 0, 0, 1})), nullptr) << "literals past the row end";
    EXPECT_EQ(Load(rle(8, {2, 1, 0, 2, 3, 0, 1, 1, 0, 1})), nullptr) << "a delta past the row end";
    EXPECT_EQ(Load(rle(8, {0, 2, 1, 5, 1, 1, 0, 1})), nullptr) << "a delta past the picture";
    EXPECT_EQ(Load(rle(8, {4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 1})), nullptr) << "a run past the last row";
    EXPECT_EQ(Load(rle(8, {4, 1, 0, 0, 4, 1})), nullptr) << "a stream without its end";
    EXPECT_EQ(Load(rle(8, {4, 1, 0, 2, 1})), nullptr) << "a delta cut short";
    EXPECT_EQ(Load(rle(8, {0, 4, 1, 2})), nullptr) << "literals cut short";
    EXPECT_EQ(Load(With(rle(8, {4, 1, 0, 0, 4, 1, 0, 1}), 22, (uint32_t)-2)), nullptr) << "top-down RLE";
}
