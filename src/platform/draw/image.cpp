// BMP files into surfaces: the file read whole, then decoded by the BMP decoder.
#include "desktop_draw.h"
#include "desktop_files.h"
#include "draw/bmp.h"

#include <cstdio>
#include <vector>

namespace {

constexpr long MAX_FILE_BYTES = 512L << 20;

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

} // namespace

Surface* LoadImage(const char* path) {
    std::vector<uint8_t> bytes;
    if (!path || !Read_file(path, bytes)) return nullptr;
    return Bmp_decode(bytes.data(), bytes.size());
}
