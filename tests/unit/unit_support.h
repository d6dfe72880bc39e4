// Small helpers shared by the platform tests: owned surfaces, scratch directories on disk.
#pragma once

#include "platform.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h> // mkdtemp

namespace fs = std::filesystem;
using Px = std::vector<uint32_t>;

using Surface_ptr = std::unique_ptr<Surface, Surface_deleter>;

// A w x h surface holding these pixels row by row, or all of them the one pixel given.
inline Surface_ptr Make(int w, int h, const Px& pixels) {
    Surface_ptr s(CreateSurface(w, h));
    for (size_t i = 0; s && i < (size_t)w * h; i++) s->pixels[i] = pixels[pixels.size() == 1 ? 0 : i];
    return s;
}
inline Px Pixels(const Surface* s) { return Px(s->pixels, s->pixels + (size_t)s->width * s->height); }

// A fresh directory under the system's temporary folder, removed with its contents afterwards.
struct Temp_dir {
    fs::path path;
    Temp_dir() {
        std::string pattern = (fs::temp_directory_path() / "veltrane-unit-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~Temp_dir() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
    Temp_dir(const Temp_dir&) = delete;
    bool ok() const { return !path.empty(); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// A test run inside a fresh temporary folder, as the engine runs inside its game folder.
class In_temp_dir : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        fs::current_path(dir.path);
    }
    void TearDown() override { fs::current_path(previous); }
    const fs::path previous = fs::current_path();
    Temp_dir dir;
};
