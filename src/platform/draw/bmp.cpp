// BMP bytes into a surface. What is taken and what refused, and how a channel of fewer than 8 bits
// widens, are fixed: every picture a game ships has always loaded exactly so.
#include "draw/bmp.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int64_t MAX_SIDE = 16384;
// a picture of more pixels than this (16 Mi, 64 MiB as a surface) is no game picture
constexpr int64_t MAX_PIXELS = 16L << 20;
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// The file's bytes, numbers little-endian. The few fields that may lie past the end of a short
// file (bit-field masks, palette entries) read as fill there.
struct Reader {
    const uint8_t* bytes;
    size_t size;
    uint32_t Byte(size_t at, uint32_t fill = 0) const { return at < size ? bytes[at] : fill; }
    uint32_t U16(size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
};

// What decoding needs of the file and info headers.
struct Bmp {
    Reader in{};
    uint32_t offset = 0; // where the pixels start
    uint32_t info = 0;   // the info header's size: 12 for the old core header
    int64_t width = 0;
    int64_t height = 0; // negative for rows stored top-down
    uint32_t planes = 0;
    uint32_t bpp = 0;
    uint32_t compression = BI_RGB;
    uint32_t colours = 0; // palette entries declared; 0 for as many as 8 bits can index
    int64_t Rows() const { return height < 0 ? -height : height; }
};

// The file header and an info header of a size known here, all inside the file.
bool Read_header(Reader in, Bmp* h) {
    if (in.size < 26 || in.bytes[0] != 'B' || in.bytes[1] != 'M') return false;
    h->in = in;
    h->offset = in.U32(10);
    h->info = in.U32(14);
    if (h->info == 12) {
        h->width = in.U16(18);
        h->height = in.U16(20);
        h->planes = in.U16(22);
        h->bpp = in.U16(24);
        return true;
    }
    uint32_t info = h->info;
    bool known = info == 40 || info == 52 || info == 56 || info == 64 || info == 108 || info == 124;
    if (!known || in.size < 14 + (size_t)info) return false;
    h->width = (int32_t)in.U32(18);
    h->height = (int32_t)in.U32(22);
    h->planes = in.U16(26);
    h->bpp = in.U16(28);
    h->compression = in.U32(30);
    h->colours = in.U32(46);
    return true;
}

// Sizes, depth and compression that can be decoded, and pixels that start after the headers
// and inside the file.
bool Header_well_formed(const Bmp& h) {
    int64_t width = h.width, rows = h.Rows();
    if (width < 1 || width > MAX_SIDE || rows < 1 || rows > MAX_SIDE || width * rows > MAX_PIXELS)
        return false;
    if (h.planes != 1) return false;
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) return false;
    if (h.offset >= h.in.size || h.offset < 14 + h.info) return false;
    switch (h.compression) {
    case BI_RGB:
        return true;
    case BI_RLE8:
        return h.bpp == 8 && h.height > 0;
    case BI_RLE4:
        return h.bpp == 4 && h.height > 0;
    case BI_BITFIELDS:
        return h.bpp == 16 || h.bpp == 32;
    default:
        return false;
    }
}

// The bit-field layouts read (red, green, blue, alpha masks), each decoded with its own masks.
// Alpha is never drawn: it only tells the layouts apart.
constexpr uint32_t LAYOUTS_16[][4] = {
    {0x7C00, 0x03E0, 0x001F, 0},      {0x001F, 0x03E0, 0x7C00, 0},      {0x0F00, 0x00F0, 0x000F, 0xF000},
    {0xF000, 0x0F00, 0x00F0, 0x000F}, {0x000F, 0x00F0, 0x0F00, 0xF000}, {0x00F0, 0x0F00, 0xF000, 0x000F},
    {0x7C00, 0x03E0, 0x001F, 0x8000}, {0xF800, 0x07C0, 0x003E, 0x0001}, {0x001F, 0x03E0, 0x7C00, 0x8000},
    {0x003E, 0x07C0, 0xF800, 0x0001}, {0xF800, 0x07E0, 0x001F, 0},      {0x001F, 0x07E0, 0xF800, 0},
};
constexpr uint32_t LAYOUTS_32[][4] = {
    {0xFF0000, 0xFF00, 0xFF, 0},
    {0xFF000000, 0xFF0000, 0xFF00, 0},
    {0xFF, 0xFF00, 0xFF0000, 0},
    {0xFF00, 0xFF0000, 0xFF000000, 0},
    {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {0xFF000000, 0xFF0000, 0xFF00, 0xFF},
    {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
    {0xFF00, 0xFF0000, 0xFF000000, 0xFF},
    {0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
};
constexpr uint32_t RGB555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t RGB565[3] = {0xF800, 0x07E0, 0x001F};
constexpr uint32_t RGB888[3] = {0xFF0000, 0xFF00, 0xFF};
// 5-6-5 with its masks written in a legacy order some writers use; decoded as plain 5-6-5
constexpr uint32_t RGB565_LEGACY[4] = {0x003F, 0x07C0, 0xF800, 0};

template <size_t N> bool Known_layout(const uint32_t (&layouts)[N][4], const uint32_t given[4]) {
    for (const auto& layout : layouts)
        if (std::equal(layout, layout + 4, given)) return true;
    return false;
}

// The red, green and blue masks a picture of 16, 24 or 32 bits is decoded with. Bit fields give
// theirs after the 40 bytes of the info header (alpha only in a header of 56 bytes or more; none
// in the OS/2 header of 64); a red mask of 0 stands for the default layout of the depth.
bool Packed_masks(const Bmp& h, uint32_t masks[3]) {
    const bool b16 = h.bpp == 16;
    const uint32_t* use = b16 ? RGB555 : RGB888;
    uint32_t given[4] = {};
    if (h.compression == BI_BITFIELDS) {
        for (int i = 0; h.info != 64 && i < (h.info >= 56 ? 4 : 3); i++) given[i] = h.in.U32(54 + 4 * i);
        bool legacy = b16 && std::equal(given, given + 4, RGB565_LEGACY);
        if (given[0] == 0 || legacy)
            use = b16 ? RGB565 : RGB888;
        else if (b16 ? Known_layout(LAYOUTS_16, given) : Known_layout(LAYOUTS_32, given))
            use = given;
        else
            return false;
    }
    std::copy(use, use + 3, masks);
    return true;
}

// The value at column x of a stored row: a palette index of 1, 4 or 8 bits (the leftmost pixel in
// the high bits of its byte), or a pixel of 2, 3 or 4 bytes.
uint32_t Stored(const uint8_t* row, int64_t x, uint32_t bpp) {
    if (bpp < 8) {
        int64_t bit = x * bpp;
        return row[bit / 8] >> (8 - bpp - bit % 8) & ((1u << bpp) - 1);
    }
    const uint8_t* p = row + x * (bpp / 8);
    uint32_t value = 0;
    for (uint32_t i = bpp / 8; i-- > 0;) value = value << 8 | p[i];
    return value;
}

// Uncompressed rows, each padded to four bytes, all of them inside the file: their values into
// the surface, top row first.
bool Read_rows(const Bmp& h, Surface* out) {
    int64_t row_bytes = (h.width * h.bpp + 31) / 32 * 4, rows = h.Rows();
    if (h.offset + row_bytes * rows > (int64_t)h.in.size) return false;
    for (int64_t r = 0; r < rows; r++) {
        const uint8_t* row = h.in.bytes + h.offset + r * row_bytes;
        uint32_t* to = out->pixels + (h.height < 0 ? r : rows - 1 - r) * h.width;
        for (int64_t x = 0; x < h.width; x++) to[x] = Stored(row, x, h.bpp);
    }
    return true;
}

// Pixel i of a run of byte: the byte itself, or in RLE4 its high and low halves in turn.
uint32_t Rle_value(unsigned byte, unsigned i, bool rle4) {
    if (!rle4) return byte;
    return i % 2 ? byte & 0x0F : byte >> 4;
}

// An RLE stream: its indices into the surface. Every value must land inside the picture and the
// stream end with its end-of-picture mark; what a line end or a delta skips keeps index 0.
bool Play_rle(const Bmp& h, Surface* out) {
    const Reader& in = h.in;
    const bool rle4 = h.compression == BI_RLE4;
    const int64_t width = h.width, rows = h.Rows();
    int64_t x = 0, y = 0; // y counts up from the bottom row
    auto put = [&](uint32_t value) { out->pixels[(rows - 1 - y) * width + x++] = value; };
    for (size_t at = h.offset; at + 2 <= in.size;) {
        unsigned count = in.bytes[at], code = in.bytes[at + 1];
        at += 2;
        if (count > 0) { // a run of one byte
            if (y >= rows || x + count > width) return false;
            for (unsigned i = 0; i < count; i++) put(Rle_value(code, i, rle4));
        } else if (code == 0) { // end of line
            x = 0;
            if (++y > rows) return false;
        } else if (code == 1) { // end of picture
            return true;
        } else if (code == 2) { // delta: right and up
            if (at + 2 > in.size) return false;
            x += in.bytes[at];
            y += in.bytes[at + 1];
            at += 2;
            if (x > width || y > rows) return false;
        } else { // code literal pixels, padded to a 16-bit boundary
            size_t bytes = rle4 ? (code + 1) / 2 : code;
            bytes += bytes & 1;
            if (y >= rows || x + code > width || at + bytes > in.size) return false;
            for (unsigned i = 0; i < code; i++) put(Rle_value(in.bytes[at + (rle4 ? i / 2 : i)], i, rle4));
            at += bytes;
        }
    }
    return false;
}

// The palette's colours: as many entries as declared, at most 256 (none declared: 256), each blue,
// green, red and, but in the core header, a byte unused. A byte past the end of the file reads as
// 0xFF. Its size is returned.
uint32_t Read_palette(const Bmp& h, uint32_t palette[256]) {
    uint32_t count = h.colours == 0 || h.colours > 256 ? 256 : h.colours;
    size_t stride = h.info == 12 ? 3 : 4, at = 14 + h.info;
    for (uint32_t i = 0; i < count; i++, at += stride)
        palette[i] = h.in.Byte(at + 2, 0xFF) << 16 | h.in.Byte(at + 1, 0xFF) << 8 | h.in.Byte(at, 0xFF);
    return count;
}

// Palette indices into colours; false when one names no entry of the palette.
bool Paint_indices(const Bmp& h, Surface* s) {
    uint32_t palette[256];
    uint32_t count = Read_palette(h, palette);
    for (uint32_t *p = s->pixels, *end = p + (size_t)s->width * s->height; p < end; p++) {
        if (*p >= count) return false;
        *p = palette[*p];
    }
    return true;
}

// One channel of a packed pixel, widened to 8 bits: fewer bits scale so that all ones is 0xFF,
// rounding down (5-bit 16 is 131), more keep their top eight.
struct Channel {
    uint32_t mask;
    int shift;
    int bits;
    explicit Channel(uint32_t m) : mask(m), shift(std::countr_zero(m)), bits(std::popcount(m)) {}
    uint32_t Of(uint32_t pixel) const {
        uint32_t v = (pixel & mask) >> shift;
        return bits >= 8 ? v >> (bits - 8) : v * 255 / ((1u << bits) - 1);
    }
};

void Paint_packed(const uint32_t masks[3], Surface* s) {
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (uint32_t *p = s->pixels, *end = p + (size_t)s->width * s->height; p < end; p++)
        *p = red.Of(*p) << 16 | green.Of(*p) << 8 | blue.Of(*p);
}

} // namespace

Surface* Bmp_decode(const uint8_t* bytes, size_t size) {
    Bmp h;
    uint32_t masks[3] = {};
    if (!bytes || !Read_header({bytes, size}, &h) || !Header_well_formed(h)) return nullptr;
    if (h.bpp > 8 && !Packed_masks(h, masks)) return nullptr;
    Surface* out = CreateSurface((int)h.width, (int)h.Rows());
    if (!out) return nullptr;
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    bool ok = rle ? Play_rle(h, out) : Read_rows(h, out);
    if (ok && h.bpp <= 8) ok = Paint_indices(h, out);
    if (ok && h.bpp > 8) Paint_packed(masks, out);
    if (ok) return out;
    DeleteSurface(out);
    return nullptr;
}
