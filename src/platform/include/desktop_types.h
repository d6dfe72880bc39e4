// The basic types every desktop service shares: the integer kinds of its calls, colours,
// rectangles, and the game window as an opaque handle.
#pragma once

#include <cstdint>

using DWORD = uint32_t;
using UINT = uint32_t;
using WPARAM = uint32_t;
using LPARAM = int32_t;
using LRESULT = int32_t;
using COLORREF = uint32_t; // 0x00BBGGRR: red in the lowest byte

constexpr COLORREF RGB(int r, int g, int b) {
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// packs client coordinates the way mouse messages carry them: x low, y high
constexpr LPARAM MAKELPARAM(int x, int y) { return (LPARAM)(((uint32_t)y << 16) | ((uint32_t)x & 0xFFFF)); }

struct Rect {
    int32_t left, top, right, bottom;
};

struct Window; // the one game window, or none
