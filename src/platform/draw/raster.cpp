// Surfaces and the raster ops on them: the engine's hot loops, kept tight and clipped to both surfaces.
#include "backend/backend_hooks.h"
#include "touch.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

Surface* CreateSurface(int width, int height) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) return nullptr;
    if (Backend_hooks* hooks = Current_hooks(); hooks && hooks->refuse_surface()) return nullptr;
    auto* s = new (std::nothrow) Surface;
    if (!s) return nullptr;
    s->pixels = new (std::nothrow) uint32_t[(size_t)width * height]();
    if (!s->pixels) {
        delete s;
        return nullptr;
    }
    s->width = width;
    s->height = height;
    Touch(s);
    return s;
}

void DeleteSurface(Surface* surface) {
    if (!surface) return;
    delete[] surface->pixels;
    delete surface;
}

namespace {

// A copy rectangle after clipping: w x h pixels from (sx, sy) of the source to (dx, dy).
struct Span {
    int dx, dy, sx, sy, w, h;
};

// Clips one axis of a copy to both surfaces, in 64-bit so that no coordinate can overflow.
bool Clip_axis(int& d, int& s, int& n, int dst_size, int src_size) {
    int64_t d64 = d, s64 = s, n64 = n;
    int64_t shift = std::max<int64_t>({0, -d64, -s64});
    d64 += shift;
    s64 += shift;
    n64 -= shift;
    n64 = std::min<int64_t>({n64, dst_size - d64, src_size - s64});
    if (n64 <= 0) return false;
    d = (int)d64;
    s = (int)s64;
    n = (int)n64;
    return true;
}

// Clips a copy so that it lies inside both surfaces; false when nothing is left.
bool Clip(Span& c, const Surface* dst, const Surface* src) {
    if (c.w <= 0 || c.h <= 0) return false;
    return Clip_axis(c.dx, c.sx, c.w, dst->width, src->width) &&
           Clip_axis(c.dy, c.sy, c.h, dst->height, src->height);
}

template <typename Op> void Rows(Surface* dst, const Span& c, const uint32_t* from, int from_pitch, Op op) {
    for (int row = 0; row < c.h; row++) {
        uint32_t* d = dst->pixels + (size_t)(c.dy + row) * dst->width + c.dx;
        const uint32_t* s = from + (size_t)row * from_pitch;
        op(d, s, c.w);
    }
}

bool Valid(const Surface* s) { return s && s->pixels; }

// The rows of a span that a drawing changed: they alone are marked, so that a drawing that changes no
// pixel leaves the surface's version as it was and nothing is uploaded again.
struct Changed_rows {
    int first = INT_MAX, last = -1;
    void add(int row) {
        first = std::min(first, row);
        last = std::max(last, row);
    }
    void touch(Surface* dst, const Span& c) const {
        if (last >= 0) Touch(dst, c.dx, (int64_t)c.dy + first, (int64_t)c.dx + c.w, (int64_t)c.dy + last + 1);
    }
};

// A plain copy. Rows that already hold the source are left alone, so a picture redrawn unchanged
// every pass (a menu, a choice) is not uploaded again. Within one surface, bottom_up keeps unread rows
// intact.
void Copy_rows(Surface* dst, const Span& c, const uint32_t* from, int pitch, bool bottom_up) {
    Changed_rows changed;
    for (int i = 0; i < c.h; i++) {
        int row = bottom_up ? c.h - 1 - i : i;
        uint32_t* d = dst->pixels + (size_t)(c.dy + row) * dst->width + c.dx;
        const uint32_t* s = from + (size_t)row * pitch;
        if (std::memcmp(d, s, c.w * sizeof(uint32_t)) == 0) continue;
        std::memmove(d, s, c.w * sizeof(uint32_t));
        changed.add(row);
    }
    changed.touch(dst, c);
}

// ---------------------------------------------------------------- stretching

// Source positions [first, last) along one axis, clipped to the source; empty when none is inside.
struct Block {
    int first, last;
};

// The source block of each target position in [lo, hi) when n target positions show sn source ones from s: a
// shrink takes every source position that falls on the target one, a stretch the one.
std::vector<Block> Blocks(int64_t lo, int64_t hi, int64_t n, int64_t s, int64_t sn, int size) {
    std::vector<Block> blocks;
    blocks.reserve((size_t)(hi - lo));
    for (int64_t i = lo; i < hi; i++) {
        int64_t first = i * sn / n, last = std::max(first + 1, (i + 1) * sn / n);
        blocks.push_back(
            {(int)std::clamp<int64_t>(s + first, 0, size), (int)std::clamp<int64_t>(s + last, 0, size)});
    }
    return blocks;
}

// Whether every target column takes the next source column, so that a row is one plain copy.
bool Is_run(const std::vector<Block>& cols) {
    for (size_t i = 0; i < cols.size(); i++)
        if (cols[i].first != cols[0].first + (int)i || cols[i].last != cols[i].first + 1) return false;
    return true;
}

// d = a & b over n pixels; d may be a.
void And_span(uint32_t* d, const uint32_t* a, const uint32_t* b, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        __m128i v =
            _mm_and_si128(_mm_loadu_si128((const __m128i*)(a + i)), _mm_loadu_si128((const __m128i*)(b + i)));
        _mm_storeu_si128((__m128i*)(d + i), v);
    }
#endif
    for (; i < n; i++) d[i] = a[i] & b[i];
}

// The source row a target row reads, over source columns [lo, hi): the row itself, or the AND of the block's
// rows gathered in acc.
const uint32_t* And_rows(const uint32_t* base, int pitch, Block rows, int lo, int hi,
                         std::vector<uint32_t>& acc) {
    const uint32_t* top = base + (size_t)rows.first * pitch;
    if (rows.last - rows.first == 1) return top;
    And_span(acc.data() + lo, top + lo, top + pitch + lo, hi - lo);
    for (int r = rows.first + 2; r < rows.last; r++)
        And_span(acc.data() + lo, acc.data() + lo, base + (size_t)r * pitch + lo, hi - lo);
    return acc.data();
}

// Each target pixel the AND of its block of columns. A block of k or k + 1 columns is its last column ANDed
// with its first k, a loop of fixed length; only one cut short by the source's edge takes the long way.
template <int K> void And_columns(uint32_t* d, const uint32_t* s, const std::vector<Block>& cols, int k) {
    if constexpr (K != 0) k = K;
    for (size_t i = 0; i < cols.size(); i++) {
        auto [first, last] = cols[i];
        if (last - first >= k) {
            uint32_t v = s[last - 1];
            for (int t = 0; t < k; t++) v &= s[first + t];
            d[i] = v;
        } else if (first < last) {
            uint32_t v = s[first];
            for (int c = first + 1; c < last; c++) v &= s[c];
            d[i] = v;
        }
    }
}

// One target row from one source row; k is the shortest whole block, 1 when growing.
void Stretch_row(uint32_t* d, const uint32_t* s, const std::vector<Block>& cols, int k, bool run) {
    if (run) {
        std::memcpy(d, s + cols[0].first, cols.size() * sizeof(uint32_t));
        return;
    }
    switch (k) {
    case 1:
        And_columns<1>(d, s, cols, k);
        break;
    case 2:
        And_columns<2>(d, s, cols, k);
        break;
    case 3:
        And_columns<3>(d, s, cols, k);
        break;
    default:
        And_columns<0>(d, s, cols, k);
    }
}

// ---------------------------------------------------------------- blending

// x / 255 for x up to 255 * 255, without a division.
constexpr uint32_t Div255(uint32_t x) { return (x + 1 + (x >> 8)) >> 8; }

#if defined(__SSE2__)
// Eight channels widened to 16 bits: (s a + d (255 - a)) / 255; the sum fits in 16 bits and
// (x * 0x8081) >> 23 is x / 255 for every x that does.
__m128i Blend_lanes(__m128i s, __m128i d, __m128i a, __m128i rest) {
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, rest));
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16((short)0x8081)), 7);
}

// Four pixels at a time; returns how many were blended, the rest left to the plain loop, and sets
// *changed when any of them changed.
int Blend_row_sse2(uint32_t* d, const uint32_t* s, int n, uint32_t a, bool* changed) {
    const __m128i zero = _mm_setzero_si128(), rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i wa = _mm_set1_epi16((short)a), wrest = _mm_set1_epi16((short)(255 - a));
    __m128i differ = zero;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = _mm_loadu_si128((const __m128i*)(s + i)), dv = _mm_loadu_si128((const __m128i*)(d + i));
        __m128i lo = Blend_lanes(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero), wa, wrest);
        __m128i hi = Blend_lanes(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero), wa, wrest);
        __m128i blended = _mm_and_si128(_mm_packus_epi16(lo, hi), rgb);
        differ = _mm_or_si128(differ, _mm_xor_si128(blended, dv));
        _mm_storeu_si128((__m128i*)(d + i), blended);
    }
    *changed = _mm_movemask_epi8(_mm_cmpeq_epi8(differ, zero)) != 0xFFFF;
    return i;
}
#endif

// Per channel (s a + d (255 - a)) / 255; red and blue share a 32-bit lane, 16 bits apart. True when
// a pixel changed.
bool Blend_row(uint32_t* d, const uint32_t* s, int n, uint32_t a) {
    int i = 0;
    bool changed = false;
#if defined(__SSE2__)
    i = Blend_row_sse2(d, s, n, a, &changed);
#endif
    for (; i < n; i++) {
        uint32_t rb = (s[i] & 0xFF00FF) * a + (d[i] & 0xFF00FF) * (255 - a);
        uint32_t g = (s[i] >> 8 & 0xFF) * a + (d[i] >> 8 & 0xFF) * (255 - a);
        uint32_t blended = ((rb + 0x10001 + (rb >> 8 & 0xFF00FF)) >> 8 & 0xFF00FF) | Div255(g) << 8;
        changed = changed || blended != d[i];
        d[i] = blended;
    }
    return changed;
}

} // namespace

bool BitBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop) {
    if (!Valid(dst) || !Valid(src)) return false;
    Span c{x, y, sx, sy, w, h};
    if (!Clip(c, dst, src)) return true;
    const uint32_t* from = src->pixels + (size_t)c.sy * src->width + c.sx;
    int pitch = src->width;
    std::vector<uint32_t> staged;
    if (src == dst && rop != SRCCOPY) {
        // an AND or OR onto its own overlapping source must read the pixels as they were
        staged.resize((size_t)c.w * c.h);
        for (int row = 0; row < c.h; row++)
            std::memcpy(&staged[(size_t)row * c.w], from + (size_t)row * pitch, c.w * sizeof(uint32_t));
        from = staged.data();
        pitch = c.w;
    }
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT) return false;
    if (rop == SRCCOPY) {
        Copy_rows(dst, c, from, pitch, src == dst && c.dy > c.sy);
        return true;
    }
    Touch(dst, c.dx, c.dy, (int64_t)c.dx + c.w, (int64_t)c.dy + c.h);
    switch (rop) {
    case SRCAND:
        Rows(dst, c, from, pitch, [](uint32_t* d, const uint32_t* s, int n) {
            for (int i = 0; i < n; i++) d[i] &= s[i];
        });
        return true;
    case SRCPAINT:
        Rows(dst, c, from, pitch, [](uint32_t* d, const uint32_t* s, int n) {
            for (int i = 0; i < n; i++) d[i] |= s[i];
        });
        return true;
    }
    return false;
}

bool StretchBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                DWORD rop) {
    if (!Valid(dst) || !Valid(src) || rop != SRCCOPY) return false;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return true;
    // a stretch within one surface reads from a copy of its source
    std::vector<uint32_t> staged;
    const uint32_t* base = src->pixels;
    if (src == dst) {
        staged.assign(src->pixels, src->pixels + (size_t)src->width * src->height);
        base = staged.data();
    }
    int64_t x0 = std::max<int64_t>(0, -(int64_t)x), x1 = std::min<int64_t>(w, (int64_t)dst->width - x);
    int64_t y0 = std::max<int64_t>(0, -(int64_t)y), y1 = std::min<int64_t>(h, (int64_t)dst->height - y);
    if (x0 >= x1 || y0 >= y1) return true;
    Touch(dst, x + x0, y + y0, x + x1, y + y1);
    const std::vector<Block> cols = Blocks(x0, x1, w, sx, sw, src->width);
    const std::vector<Block> rows = Blocks(y0, y1, h, sy, sh, src->height);
    const int k = std::max(1, sw / w), lo = cols.front().first, hi = cols.back().last;
    const bool run = Is_run(cols);
    std::vector<uint32_t> acc(sh > h ? src->width : 0);
    for (size_t j = 0; j < rows.size(); j++) {
        if (rows[j].first >= rows[j].last) continue;
        const uint32_t* s = And_rows(base, src->width, rows[j], lo, hi, acc);
        Stretch_row(dst->pixels + (y + y0 + (int64_t)j) * dst->width + x + x0, s, cols, k, run);
    }
    return true;
}

bool AlphaBlend(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend) {
    if (!Valid(dst) || !Valid(src) || blend.BlendOp != AC_SRC_OVER) return false;
    if (sw != w || sh != h) return false;
    // the source rectangle must lie wholly inside its surface, or nothing is drawn
    if (sx < 0 || sy < 0 || (int64_t)sx + sw > src->width || (int64_t)sy + sh > src->height) return false;
    Span c{x, y, sx, sy, w, h};
    if (!Clip(c, dst, src)) return true;
    std::vector<uint32_t> staged;
    const uint32_t* from = src->pixels + (size_t)c.sy * src->width + c.sx;
    int pitch = src->width;
    if (src == dst) {
        staged.resize((size_t)c.w * c.h);
        for (int row = 0; row < c.h; row++)
            std::memcpy(&staged[(size_t)row * c.w], from + (size_t)row * pitch, c.w * sizeof(uint32_t));
        from = staged.data();
        pitch = c.w;
    }
    // a fade's later steps change nothing where the picture has already arrived: those rows are not
    // shown again
    Changed_rows changed;
    for (int row = 0; row < c.h; row++)
        if (Blend_row(dst->pixels + (size_t)(c.dy + row) * dst->width + c.dx, from + (size_t)row * pitch, c.w,
                      blend.SourceConstantAlpha))
            changed.add(row);
    changed.touch(dst, c);
    return true;
}

Brush* CreateSolidBrush(COLORREF color) { return new (std::nothrow) Brush{color}; }

void DeleteObject(Brush* brush) { delete brush; }

const Brush* SelectObject(Surface* surface, const Brush* brush) {
    if (!surface) return nullptr;
    const Brush* previous = surface->brush;
    surface->brush = brush;
    return previous;
}

bool PatBlt(Surface* dst, int x, int y, int w, int h, DWORD rop) {
    if (!Valid(dst) || rop != PATCOPY || !dst->brush) return false;
    if (w <= 0 || h <= 0) return true;
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = (int)std::min<int64_t>((int64_t)x + w, dst->width);
    int y1 = (int)std::min<int64_t>((int64_t)y + h, dst->height);
    if (x0 >= x1 || y0 >= y1) return true;
    COLORREF c = dst->brush->color;
    uint32_t pixel = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    Touch(dst, x0, y0, x1, y1);
    for (int row = y0; row < y1; row++)
        std::fill_n(dst->pixels + (size_t)row * dst->width + x0, x1 - x0, pixel);
    return true;
}
