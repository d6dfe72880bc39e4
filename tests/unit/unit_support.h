// Small helpers shared by the platform, lint and converter tests: owned surfaces, scratch directories
// on disk, the bytes of small picture and sound files, tables of cases kept in text files.
#pragma once

#include "platform.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <stdlib.h> // mkdtemp

namespace fs = std::filesystem;
using Px = std::vector<uint32_t>;
using Bytes = std::vector<uint8_t>;

using Surface_ptr = std::unique_ptr<Surface, Surface_deleter>;

// A w x h surface holding these pixels row by row, or all of them the one pixel given.
inline Surface_ptr Make(int w, int h, const Px& pixels) {
    Surface_ptr s(CreateSurface(w, h));
    for (size_t i = 0; s && i < (size_t)w * h; i++) s->pixels[i] = pixels[pixels.size() == 1 ? 0 : i];
    return s;
}
inline Px Pixels(const Surface* s) { return Px(s->pixels, s->pixels + (size_t)s->width * s->height); }

// v as n bytes, little-endian, as RIFF and BMP files hold their numbers.
inline std::string Le(uint32_t v, int n) {
    std::string b;
    for (int i = 0; i < n; i++) b += (char)(v >> 8 * i & 0xFF);
    return b;
}

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;

// A BMP file. A negative height stores the rows top-down; the header is 12 (core), 40, 108 (V4)
// or 124 (V5) bytes; the masks (red, green, blue) come after a 40-byte header, inside the others.
inline std::string Bmp_file(int32_t w, int32_t h, uint16_t bpp, const Bytes& data, const Px& palette = {},
                            uint32_t compression = BI_RGB, uint32_t header = 40, const Px& masks = {}) {
    std::string f = "BM";
    auto put = [&](const Px& values, int bytes) {
        for (uint32_t v : values) f += Le(v, bytes);
    };
    const bool core = header == 12;
    const uint32_t offset =
        14 + header + (header == 40 ? 4 * masks.size() : 0) + palette.size() * (core ? 3 : 4);
    put({offset + (uint32_t)data.size(), 0, offset, header}, 4);
    put({(uint32_t)w, (uint32_t)h}, core ? 2 : 4);
    put({1, bpp}, 2);
    if (!core) put({compression, (uint32_t)data.size(), 2835, 2835, (uint32_t)palette.size(), 0}, 4);
    if (!core) put(masks, 4);
    if (header > 40) f.resize(14 + header, 0);
    put(palette, core ? 3 : 4);
    return f.append(data.begin(), data.end());
}

// A standard MIDI file of format 1 with these tracks; division is the header's last two bytes.
inline std::string Smf(const Bytes& division, const std::vector<Bytes>& tracks) {
    std::string out = std::string("MThd\0\0\0\6\0\1\0", 11) + (char)tracks.size();
    out.append(division.begin(), division.end());
    for (const Bytes& t : tracks) {
        out += std::string("MTrk\0\0", 6) + (char)(t.size() >> 8) + (char)t.size();
        out.append(t.begin(), t.end());
    }
    return out;
}

// A RIFF WAVE file of four bytes of samples: coding, channels, rate, frame size and bits, with a chunk
// before "fmt " that a reader has to pass over.
inline std::string Wave(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t align, uint32_t bits) {
    return std::string("RIFF\0\0\0\0WAVELIST\3\0\0\0abc\0fmt ", 28) + Le(16, 4) + Le(tag, 2) +
           Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) + Le(bits, 2) +
           std::string("data\4\0\0\0\0\0\0\0", 12);
}

// The bytes of a file; none when it cannot be read.
inline std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The numbers in text, in hex unless another base is given: Numbers("4D 54 0A") bytes,
// Numbers<Px>("FF0000 7C00") pixels.
template <class T = Bytes> T Numbers(const std::string& text, int base = 16) {
    T out;
    std::istringstream in(text);
    for (long long v; in >> std::setbase(base) >> v;) out.push_back((typename T::value_type)v);
    return out;
}

// A line of a table: its fields, and where it stands, for a failure's message.
struct Row : std::vector<std::string> {
    std::string where;
    std::string operator[](size_t i) const { return i < size() ? at(i) : ""; } // empty past the last
    long long Int(size_t i) const { return std::stoll(at(i), nullptr, 0); }    // "0x10", "-1", "296 invalid"
    std::vector<int> Ints(size_t i) const { return Numbers<std::vector<int>>(at(i), 10); } // "1 -2"
};

// The rows of tests/NAME, one a line: fields parted by '|' and trimmed of spaces, "\xHH" standing for
// the byte HH (a '|' is "\x7C"). Blank lines and lines starting with '#' are skipped.
inline std::vector<Row> Table(const std::string& name) {
    std::ifstream in(fs::path(VELTRANE_SOURCE_DIR) / "tests" / name);
    std::vector<Row> rows;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        if (++number, line.find_first_not_of(' ') == std::string::npos || line[0] == '#') continue;
        Row& row = rows.emplace_back();
        row.where = name + ":" + std::to_string(number);
        std::istringstream fields(line + (line.back() == '|' ? " " : ""));
        for (std::string f; std::getline(fields, f, '|'); row.push_back(f)) {
            f.erase(f.find_last_not_of(' ') + 1).erase(0, f.find_first_not_of(' '));
            for (size_t x = 0; (x = f.find("\\x", x)) != std::string::npos; x++)
                f.replace(x, 4, 1, (char)std::stoi(f.substr(x + 2, 2), nullptr, 16));
        }
    }
    EXPECT_FALSE(rows.empty()) << "no cases in " << name;
    return rows;
}

// A fresh directory under the system's temporary folder, removed with its contents afterwards. A
// folder that cannot be made throws, which fails the test that wanted it.
struct Temp_dir {
    fs::path path;
    Temp_dir() {
        std::string pattern = (fs::temp_directory_path() / "veltrane-unit-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
        path = pattern;
    }
    ~Temp_dir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    Temp_dir(const Temp_dir&) = delete;
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// A test run inside a fresh temporary folder, as the engine runs inside its game folder.
class In_temp_dir : public testing::Test {
  protected:
    In_temp_dir() { fs::current_path(dir.path); }
    ~In_temp_dir() override { fs::current_path(previous); }
    const fs::path previous = fs::current_path();
    Temp_dir dir;
};
