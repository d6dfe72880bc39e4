// BMP loading: every depth and compression the game uses; malformed files refused, never over-read.
#include "unit_support.h"

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

// The file a line of pictures.txt describes.
static std::string Picture(const Row& c) {
    int w, h, bpp, compression, header;
    std::istringstream(c[1]) >> w >> h >> bpp >> compression >> header;
    std::vector<Px> rows;
    std::istringstream stored(c[4]);
    for (std::string row; std::getline(stored, row, ';');) rows.push_back(Numbers<Px>(row));
    Bytes data = c[4].starts_with("raw") ? Numbers(c[4].substr(3)) : Pack(bpp, rows);
    std::string f = Bmp_file(w, h, bpp, data, Numbers<Px>(c[2]), compression, header, Numbers<Px>(c[3]));
    std::istringstream edits(c[5]);
    for (std::string verb; edits >> verb;) {
        long long at, value, n;
        if (verb == "cut" && edits >> at) f.resize(at < 0 ? f.size() + at : at);
        if (verb == "set" && edits >> std::setbase(0) >> at >> value >> n) f.replace(at, n, Le(value, n));
    }
    return f;
}

TEST(Image, LoadsEveryDepthAndCompressionAndRefusesMalformedFiles) {
    EXPECT_EQ(LoadImage(nullptr), nullptr);
    EXPECT_EQ(LoadImage("no/such/picture.bmp"), nullptr);
    EXPECT_EQ(LoadImage("."), nullptr) << "a folder";
    Temp_dir dir;
    for (const Row& c : Table("unit/pictures.txt")) {
        ASSERT_TRUE(std::ofstream(dir / "picture.bmp", std::ios::binary) << Picture(c));
        Surface_ptr s(LoadImage((dir / "picture.bmp").c_str()));
        const Px want = c[6] == "refused" ? Px{} : Numbers<Px>(c[6]);
        EXPECT_EQ(s ? Pixels(s.get()) : Px{}, want) << c.where << ": " << c[0];
    }
}
