// Small helpers shared by the platform tests: owned surfaces, scratch directories on disk.
#pragma once

#include "platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

struct Surface_deleter {
    void operator()(Surface* s) const { DeleteSurface(s); }
};
using Surface_ptr = std::unique_ptr<Surface, Surface_deleter>;

inline Surface_ptr Solid(int width, int height, uint32_t pixel) {
    Surface_ptr s(CreateSurface(width, height));
    if (s) std::fill_n(s->pixels, (size_t)width * height, pixel);
    return s;
}

inline uint32_t& At(Surface* s, int x, int y) {
    return s->pixels[(size_t)y * s->width + x];
}
inline uint32_t At(const Surface* s, int x, int y) {
    return s->pixels[(size_t)y * s->width + x];
}

inline std::vector<uint32_t> Pixels(const Surface* s) {
    return std::vector<uint32_t>(s->pixels, s->pixels + (size_t)s->width * s->height);
}

// A fresh directory under the system's temporary folder, removed with its contents afterwards.
class Temp_dir {
  public:
    Temp_dir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrane-unit-XXXXXX").string();
        if (mkdtemp(pattern.data())) dir = pattern;
    }
    ~Temp_dir() {
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }
    Temp_dir(const Temp_dir&) = delete;
    Temp_dir& operator=(const Temp_dir&) = delete;

    bool ok() const { return !dir.empty(); }
    const std::filesystem::path& path() const { return dir; }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }

  private:
    std::filesystem::path dir;
};

inline bool Write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)bytes.data(), (std::streamsize)bytes.size());
    return (bool)out;
}

// Runs a test from inside a directory, as the engine runs from its game folder; the previous
// working directory comes back when the guard goes.
class Cwd_guard {
  public:
    explicit Cwd_guard(const std::filesystem::path& dir) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~Cwd_guard() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    Cwd_guard(const Cwd_guard&) = delete;
    Cwd_guard& operator=(const Cwd_guard&) = delete;

  private:
    std::filesystem::path previous;
};
