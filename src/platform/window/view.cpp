// The scaled picture: its placement, the mapping of positions back to it, and the scaler.
#include "view.h"
#include "view_avx2.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The source coordinate, 16.16 fixed point, of the centre of client pixel i in a run of n client
// pixels showing m source pixels: ((i + 0.5) * m / n - 0.5), kept at 0 or above.
int64_t Source_at(int i, int n, int m) {
    int64_t s = ((2 * (int64_t)i + 1) * m * 65536) / (2 * (int64_t)n) - 32768;
    return std::max<int64_t>(s, 0);
}

// A picture row widened k times, from client column from of the view on, into n client pixels.
void Widen(const uint32_t* row, int from, int k, uint32_t* out, int n) {
    const uint32_t* p = row + from / k;
    int left = k - from % k; // copies of *p still to write
    for (int i = 0; i < n; i++) {
        out[i] = *p;
        if (--left == 0) {
            p++;
            left = k;
        }
    }
}

uint8_t* Bytes(uint32_t* pixels) { return reinterpret_cast<uint8_t*>(pixels); }
const uint8_t* Bytes(const uint32_t* pixels) { return reinterpret_cast<const uint8_t*>(pixels); }

// A client row of bytes as the AVX2 loops take it: the bytes before its first address aligned to 32
// (head), then whole blocks of 32, then the rest from done on.
struct Split {
    size_t head, blocks, done;
};
Split Split_row(const uint8_t* out, size_t bytes) {
    size_t head = std::min(bytes, (size_t)(-(uintptr_t)out & 31)), blocks = (bytes - head) / 32;
    return Split{head, blocks, head + 32 * blocks};
}

// A row copied to the window's pixels: past the cache where the AVX2 loop can.
void Copy_row(const uint32_t* from, uint32_t* to, size_t n, bool avx2) {
    if (!avx2) return (void)std::memcpy(to, from, n * sizeof *to);
    Split s = Split_row(Bytes(to), n * sizeof *to);
    std::memcpy(to, from, s.head);
    Copy_avx2(Bytes(from) + s.head, Bytes(to) + s.head, s.blocks);
    std::memcpy(Bytes(to) + s.done, Bytes(from) + s.done, n * sizeof *to - s.done);
}

// Each picture row is widened once, into a row that stays in the cache, and copied whole to the client
// rows that show it: memory takes whole rows faster than pixel by pixel.
void Draw_nearest(const Surface& pic, const Rect& r, const View& v, int k, uint32_t* dst, int pitch) {
    size_t n = (size_t)(r.right - r.left);
    std::vector<uint32_t> wide(n);
    bool avx2 = Avx2_scaler();
    for (int y = r.top; y < r.bottom; y++) {
        if (y == r.top || (y - v.y) % k == 0)
            Widen(pic.pixels + (size_t)((y - v.y) / k) * pic.width, r.left - v.x, k, wide.data(), (int)n);
        Copy_row(wide.data(), dst + (size_t)y * pitch + r.left, n, avx2);
    }
    if (avx2) Fence_avx2();
}

// Where a run of client pixels samples the picture: the two source pixels and the weight of the second.
struct Taps {
    std::vector<int> first, second;
    std::vector<uint8_t> weight;
    Taps(int from, int to, int origin, int n, int m) {
        for (int i = from; i < to; i++) {
            int64_t s = Source_at(i - origin, n, m);
            int a = std::min((int)(s >> 16), m - 1);
            first.push_back(a);
            second.push_back(std::min(a + 1, m - 1));
            weight.push_back((uint8_t)(s >> 8));
        }
    }
};

// The loops below run in blocks of 32 bytes with a fixed count, which g++ -O2 turns into vector code;
// on amd64 it is built twice, for SSE2 and AVX2, and the processor's own is chosen when the program loads.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VECTOR_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define VECTOR_LOOP
#endif

// A channel of a and b mixed, f of b in 1/256.
uint8_t Mix_byte(uint32_t a, uint32_t b, uint32_t f) { return (uint8_t)((a * (256 - f) + b * f) >> 8); }

// The bytes of a and b mixed into out, byte i with the weight f[i].
VECTOR_LOOP void Mix_bytes(const uint8_t* __restrict a, const uint8_t* __restrict b,
                           const uint8_t* __restrict f, uint8_t* __restrict out, size_t bytes) {
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32)
        for (size_t c = i; c < i + 32; c++) out[c] = Mix_byte(a[c], b[c], f[c]);
    for (; i < bytes; i++) out[i] = Mix_byte(a[i], b[i], f[i]);
}

// A channel a * 256 and the step b - a to another: the mix f of the way is then (base + step * f) / 256,
// which is a * (256 - f) + b * f over 256 and fits 16 bits, so it is exact with wrapping 16-bit sums.
VECTOR_LOOP void Steps(const uint8_t* __restrict a, const uint8_t* __restrict b, uint16_t* __restrict base,
                       int16_t* __restrict step, size_t bytes) {
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32)
        for (size_t c = i; c < i + 32; c++) {
            base[c] = (uint16_t)(a[c] << 8);
            step[c] = (int16_t)(b[c] - a[c]);
        }
    for (; i < bytes; i++) {
        base[i] = (uint16_t)(a[i] << 8);
        step[i] = (int16_t)(b[i] - a[i]);
    }
}

uint8_t Step_byte(uint16_t base, int16_t step, int16_t f) {
    return (uint8_t)((uint16_t)(base + step * f) >> 8);
}

// The channels f of the way along their steps, into out.
VECTOR_LOOP void Mix_steps(const uint16_t* __restrict base, const int16_t* __restrict step, int16_t f,
                           uint8_t* __restrict out, size_t bytes) {
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32)
        for (size_t c = i; c < i + 32; c++) out[c] = Step_byte(base[c], step[c], f);
    for (; i < bytes; i++) out[i] = Step_byte(base[i], step[i], f);
}

// The pixels of row at the places given, without their spare byte.
VECTOR_LOOP void Gather(const uint32_t* __restrict row, const int* __restrict at, uint32_t* __restrict out,
                        size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8)
        for (size_t c = i; c < i + 8; c++) out[c] = row[at[c]] & 0xFFFFFF;
    for (; i < n; i++) out[i] = row[at[i]] & 0xFFFFFF;
}

// Picture rows filtered across: the two source pixels of each client column are gathered, then
// mixed byte by byte with the column's weight repeated over its four bytes. Where the picture is
// enlarged, the AVX2 loop takes the runs of eight columns whose taps lie close together.
class Across {
  public:
    Across(int from, int to, int origin, int n, int m)
        : taps(from, to, origin, n, m), a(taps.first.size()), b(a.size()), weight(4 * a.size()), m(m),
          avx2(Avx2_scaler() && n >= m) {
        for (size_t i = 0; i < weight.size(); i++) weight[i] = taps.weight[i / 4];
    }
    size_t size() const { return a.size(); }
    void mix(const uint32_t* row, uint32_t* out) {
        for (size_t at = 0, n = size(); at < n;) {
            if (avx2)
                at = Across_avx2(row, m, taps.first.data(), taps.second.data(), weight.data(), out, at, n);
            size_t end = avx2 ? std::min(n, at + 8) : n;
            Gather(row, taps.first.data() + at, a.data() + at, end - at);
            Gather(row, taps.second.data() + at, b.data() + at, end - at);
            Mix_bytes(Bytes(a.data() + at), Bytes(b.data() + at), weight.data() + 4 * at, Bytes(out + at),
                      4 * (end - at));
            at = end;
        }
    }

  private:
    Taps taps;
    std::vector<uint32_t> a, b;
    std::vector<uint8_t> weight;
    int m;
    bool avx2;
};

// The bytes of a and b mixed into out, f of b in 1/256: by the AVX2 loop in the blocks of 32 bytes it
// can store aligned, one by one around them.
void Mix_down(const uint8_t* a, const uint8_t* b, uint32_t f, uint8_t* out, size_t bytes) {
    Split s = Split_row(out, bytes);
    for (size_t i = 0; i < s.head; i++) out[i] = Mix_byte(a[i], b[i], f);
    Down_avx2(a + s.head, b + s.head, (int16_t)f, out + s.head, s.blocks);
    for (size_t i = s.done; i < bytes; i++) out[i] = Mix_byte(a[i], b[i], f);
}

// Each picture row is filtered across once; client rows step down between the two filtered rows they
// fall between. Without AVX2 the two rows become a base and a step once, and each client row costs a
// multiply and an add a channel; the AVX2 loop mixes the rows themselves, waiting on its stores anyway.
void Draw_bilinear(const Surface& pic, const Rect& r, const View& v, uint32_t* dst, int pitch) {
    Across columns(r.left, r.right, v.x, v.w, pic.width);
    Taps rows(r.top, r.bottom, v.y, v.h, pic.height);
    size_t n = columns.size();
    bool avx2 = Avx2_scaler();
    std::vector<uint32_t> upper(n), lower(n);
    std::vector<uint16_t> base(avx2 ? 0 : 4 * n);
    std::vector<int16_t> step(base.size());
    int have_upper = -1, have_lower = -1; // the picture rows the two buffers hold
    for (int y = r.top; y < r.bottom; y++) {
        size_t j = (size_t)(y - r.top);
        int want_upper = rows.first[j], want_lower = rows.second[j];
        if (have_upper != want_upper || have_lower != want_lower) {
            if (have_lower == want_upper) {
                std::swap(upper, lower);
                have_upper = have_lower;
            }
            if (have_upper != want_upper)
                columns.mix(pic.pixels + (size_t)want_upper * pic.width, upper.data());
            columns.mix(pic.pixels + (size_t)want_lower * pic.width, lower.data());
            have_upper = want_upper;
            have_lower = want_lower;
            if (!avx2) Steps(Bytes(upper.data()), Bytes(lower.data()), base.data(), step.data(), 4 * n);
        }
        uint8_t* out = Bytes(dst + (size_t)y * pitch + r.left);
        if (avx2)
            Mix_down(Bytes(upper.data()), Bytes(lower.data()), rows.weight[j], out, 4 * n);
        else
            Mix_steps(base.data(), step.data(), (int16_t)rows.weight[j], out, 4 * n);
    }
    if (avx2) Fence_avx2();
}

} // namespace

View View_fit(int client_w, int client_h, int pic_w, int pic_h) {
    client_w = std::max(client_w, 1);
    client_h = std::max(client_h, 1);
    int w = client_w, h = (int)((int64_t)client_w * pic_h / pic_w);
    if (h > client_h) {
        h = client_h;
        w = (int)((int64_t)client_h * pic_w / pic_h);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    return View{(client_w - w) / 2, (client_h - h) / 2, w, h};
}

bool View_whole(const View& view, int pic_w, int pic_h) {
    return view.w % pic_w == 0 && view.h == view.w / pic_w * pic_h;
}

void View_to_picture(const View& view, int pic_w, int pic_h, int x, int* px, int y, int* py) {
    *px = std::clamp((int)((int64_t)(x - view.x) * pic_w / view.w), 0, pic_w - 1);
    *py = std::clamp((int)((int64_t)(y - view.y) * pic_h / view.h), 0, pic_h - 1);
}

Rect View_rect(const View& view, int pic_w, int pic_h, const Rect& part) {
    // a client pixel reads the source pixels on both sides of its centre: one more on each side
    int grow = View_whole(view, pic_w, pic_h) ? 0 : 1;
    int64_t l = std::max(part.left - grow, 0), t = std::max(part.top - grow, 0);
    int64_t r = std::min(part.right + grow, pic_w), b = std::min(part.bottom + grow, pic_h);
    Rect out{view.x + (int)(l * view.w / pic_w), view.y + (int)(t * view.h / pic_h),
             view.x + (int)((r * view.w + pic_w - 1) / pic_w),
             view.y + (int)((b * view.h + pic_h - 1) / pic_h)};
    out.right = std::min(out.right, view.x + view.w);
    out.bottom = std::min(out.bottom, view.y + view.h);
    return out;
}

void View_draw(const Surface& picture, const Rect& part, const View& view, uint32_t* dst, int pitch,
               int dst_w, int dst_h) {
    Rect r = View_rect(view, picture.width, picture.height, part);
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, dst_w);
    r.bottom = std::min(r.bottom, dst_h);
    if (r.left >= r.right || r.top >= r.bottom) return;
    if (View_whole(view, picture.width, picture.height))
        Draw_nearest(picture, r, view, view.w / picture.width, dst, pitch);
    else
        Draw_bilinear(picture, r, view, dst, pitch);
}
