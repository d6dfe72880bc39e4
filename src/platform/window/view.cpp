// The scaled picture: its placement, the mapping of positions back to it, and the scaler.
#include "view.h"

#include <algorithm>
#include <vector>

namespace {

// The source coordinate, 16.16 fixed point, of the centre of client pixel i in a run of n client
// pixels showing m source pixels: ((i + 0.5) * m / n - 0.5), kept at 0 or above.
int64_t Source_at(int i, int n, int m) {
    int64_t s = ((2 * (int64_t)i + 1) * m * 65536) / (2 * (int64_t)n) - 32768;
    return std::max<int64_t>(s, 0);
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t f) { // f of b, in 1/256
    uint32_t rb = ((a & 0xFF00FF) * (256 - f) + (b & 0xFF00FF) * f) >> 8;
    uint32_t g = ((a & 0x00FF00) * (256 - f) + (b & 0x00FF00) * f) >> 8;
    return (rb & 0xFF00FF) | (g & 0x00FF00);
}

// Each picture row is widened once, then copied to the client rows that repeat it.
void Draw_nearest(const Surface& pic, const Rect& r, const View& v, int k, uint32_t* dst, int pitch) {
    for (int y = r.top; y < r.bottom; y++) {
        uint32_t* out = dst + (size_t)y * pitch;
        if (y > r.top && (y - v.y) % k != 0) {
            std::copy(out - pitch + r.left, out - pitch + r.right, out + r.left);
            continue;
        }
        const uint32_t* row = pic.pixels + (size_t)((y - v.y) / k) * pic.width;
        for (int x = r.left; x < r.right; x++) out[x] = row[(x - v.x) / k];
    }
}

// Where a run of client pixels samples the picture: the two source pixels and the weight of the second.
struct Taps {
    std::vector<int> first, second;
    std::vector<uint32_t> weight;
    Taps(int from, int to, int origin, int n, int m) {
        for (int i = from; i < to; i++) {
            int64_t s = Source_at(i - origin, n, m);
            int a = std::min((int)(s >> 16), m - 1);
            first.push_back(a);
            second.push_back(std::min(a + 1, m - 1));
            weight.push_back((uint32_t)(s >> 8) & 0xFF);
        }
    }
};

// A picture row mixed across: the client row's width of horizontally filtered pixels.
void Mix_row(const uint32_t* row, const Taps& columns, std::vector<uint32_t>& out) {
    for (size_t i = 0; i < out.size(); i++)
        out[i] = Mix(row[columns.first[i]], row[columns.second[i]], columns.weight[i]);
}

// Each picture row is filtered across once, and client rows mix the two filtered rows they fall between.
void Draw_bilinear(const Surface& pic, const Rect& r, const View& v, uint32_t* dst, int pitch) {
    Taps columns(r.left, r.right, v.x, v.w, pic.width), rows(r.top, r.bottom, v.y, v.h, pic.height);
    std::vector<uint32_t> upper(columns.first.size()), lower(columns.first.size());
    int have_upper = -1, have_lower = -1; // the picture rows the two buffers hold
    for (int y = r.top; y < r.bottom; y++) {
        size_t j = (size_t)(y - r.top);
        int want_upper = rows.first[j], want_lower = rows.second[j];
        if (have_upper != want_upper && have_lower == want_upper) {
            std::swap(upper, lower);
            std::swap(have_upper, have_lower);
        }
        if (have_upper != want_upper) Mix_row(pic.pixels + (size_t)want_upper * pic.width, columns, upper);
        if (have_lower != want_lower) Mix_row(pic.pixels + (size_t)want_lower * pic.width, columns, lower);
        have_upper = want_upper;
        have_lower = want_lower;
        uint32_t* out = dst + (size_t)y * pitch + r.left;
        for (size_t i = 0; i < upper.size(); i++) out[i] = Mix(upper[i], lower[i], rows.weight[j]);
    }
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
