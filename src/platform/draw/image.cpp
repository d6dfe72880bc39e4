// BMP files into surfaces. SDL's reader decodes; the header is checked here first, so that a
// malformed file is refused before it can ask for absurd memory or a read past its data.
#include "desktop_draw.h"
#include "desktop_files.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace {

constexpr int64_t MAX_SIDE = 16384;
// a picture of more pixels than this (16 Mi, 64 MiB as a surface) is no game picture
constexpr int64_t MAX_PIXELS = 16L << 20;
constexpr long MAX_FILE_BYTES = 512L << 20;

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}

bool Read_file(const char* path, std::vector<uint8_t>& bytes) {
    FILE* f = Game_fopen(path);
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = size > 0 && size <= MAX_FILE_BYTES && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize((size_t)size);
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    return ok;
}

// An RLE stream from at must draw inside the picture and end with its end-of-picture mark. SDL's
// reader lets a run past the row end spill into the next row, drops pixels past the picture, and
// takes a stream that just stops as complete.
bool Rle_well_formed(const std::vector<uint8_t>& b, size_t at, int64_t width, int64_t rows, bool rle4) {
    int64_t x = 0, y = 0;
    while (at + 2 <= b.size()) {
        unsigned count = b[at], code = b[at + 1];
        at += 2;
        if (count > 0) { // a run of one value
            if (y >= rows || x + count > width) return false;
            x += count;
        } else if (code == 0) { // end of line
            x = 0;
            if (++y > rows) return false;
        } else if (code == 1) { // end of picture
            return true;
        } else if (code == 2) { // delta: right and up
            if (at + 2 > b.size()) return false;
            x += b[at];
            y += b[at + 1];
            at += 2;
            if (x > width || y > rows) return false;
        } else { // code literal pixels, padded to a 16-bit boundary
            size_t bytes = rle4 ? (code + 1) / 2 : code;
            bytes += bytes & 1;
            if (y >= rows || x + code > width || at + bytes > b.size()) return false;
            x += code;
            at += bytes;
        }
    }
    return false;
}

// What the checks need of the info header.
struct Bmp_info {
    int64_t width = 0;
    int64_t height = 0; // negative for a top-down picture
    uint32_t planes = 0;
    uint32_t bpp = 0;
    uint32_t compression = 0;
};

// Reads the info header of size info, the old 12-byte kind or a newer one; false for another size or
// a file too short for it.
bool Read_info(const std::vector<uint8_t>& b, uint32_t info, Bmp_info* out) {
    if (info == 12) {
        out->width = U16(b, 18);
        out->height = U16(b, 20);
        out->planes = U16(b, 22);
        out->bpp = U16(b, 24);
        return true;
    }
    bool known = info == 40 || info == 52 || info == 56 || info == 64 || info == 108 || info == 124;
    if (!known || b.size() < 14 + (size_t)info) return false;
    out->width = (int32_t)U32(b, 18);
    out->height = (int32_t)U32(b, 22);
    out->planes = U16(b, 26);
    out->bpp = U16(b, 28);
    out->compression = U32(b, 30);
    return true;
}

// The file and info headers: signature, sizes, depth and compression that SDL can decode,
// and, for uncompressed pixels, all rows inside the file.
bool Header_well_formed(const std::vector<uint8_t>& b) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return false;
    uint32_t offset = U32(b, 10), info = U32(b, 14);
    Bmp_info h;
    if (!Read_info(b, info, &h)) return false;
    int64_t width = h.width;
    int64_t rows = h.height < 0 ? -h.height : h.height;
    uint32_t bpp = h.bpp;
    if (width < 1 || width > MAX_SIDE || rows < 1 || rows > MAX_SIDE || width * rows > MAX_PIXELS)
        return false;
    if (h.planes != 1) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (offset >= b.size() || offset < 14 + info) return false;
    switch (h.compression) {
    case 0: {
        int64_t row_bytes = (width * bpp + 31) / 32 * 4;
        return offset + row_bytes * rows <= (int64_t)b.size();
    }
    case 1:
        return bpp == 8 && h.height > 0 && Rle_well_formed(b, offset, width, rows, false);
    case 2:
        return bpp == 4 && h.height > 0 && Rle_well_formed(b, offset, width, rows, true);
    case 3:
        return bpp == 16 || bpp == 32;
    default:
        return false;
    }
}

// Every pixel of an indexed image must name a colour of its palette.
bool Indices_in_palette(const SDL_Surface* s) {
    const SDL_Palette* palette = s->format->palette;
    if (!palette) return true;
    if (s->format->BitsPerPixel != 8) return false;
    for (int y = 0; y < s->h; y++) {
        const auto* row = (const uint8_t*)s->pixels + (size_t)y * s->pitch;
        for (int x = 0; x < s->w; x++)
            if (row[x] >= palette->ncolors) return false;
    }
    return true;
}

Surface* From_sdl(SDL_Surface* decoded) {
    if (decoded->format->BytesPerPixel == 2 && !decoded->format->palette) {
        // SDL's 5-6-5 conversion widens full green to 0xFE; SDL_GetRGB widens every channel to 0xFF
        Surface* out = CreateSurface(decoded->w, decoded->h);
        if (!out) return nullptr;
        for (int y = 0; y < decoded->h; y++) {
            const auto* row = (const uint16_t*)((const uint8_t*)decoded->pixels + (size_t)y * decoded->pitch);
            for (int x = 0; x < decoded->w; x++) {
                Uint8 r, g, b;
                SDL_GetRGB(row[x], decoded->format, &r, &g, &b);
                out->pixels[(size_t)y * out->width + x] = (uint32_t)r << 16 | (uint32_t)g << 8 | b;
            }
        }
        return out;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB888, 0);
    if (!rgb) return nullptr;
    Surface* out = CreateSurface(rgb->w, rgb->h);
    if (out) {
        for (int y = 0; y < rgb->h; y++) {
            const auto* row = (const uint32_t*)((const uint8_t*)rgb->pixels + (size_t)y * rgb->pitch);
            for (int x = 0; x < rgb->w; x++) out->pixels[(size_t)y * out->width + x] = row[x] & 0x00FFFFFF;
        }
    }
    SDL_FreeSurface(rgb);
    return out;
}

} // namespace

Surface* LoadImage(const char* path) {
    std::vector<uint8_t> bytes;
    if (!path || !Read_file(path, bytes) || !Header_well_formed(bytes)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), (int)bytes.size());
    SDL_Surface* decoded = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (!decoded) return nullptr;
    Surface* out = Indices_in_palette(decoded) ? From_sdl(decoded) : nullptr;
    SDL_FreeSurface(decoded);
    return out;
}
