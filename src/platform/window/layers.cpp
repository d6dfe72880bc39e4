// What the client area shows: the bars, the scaled picture, and the window's layers over them.
#include "layers.h"

#include <algorithm>
#include <climits>

namespace {

// Black over the pixels of r outside v.
void Fill_bars(const Rect& r, const Rect& v, uint32_t* dst, int pitch) {
    for (int y = r.top; y < r.bottom; y++) {
        uint32_t* row = dst + (size_t)y * pitch;
        bool beside = y >= v.top && y < v.bottom;
        int left = beside ? std::clamp(v.left, r.left, r.right) : r.right;
        int right = beside ? std::clamp(v.right, r.left, r.right) : r.right;
        std::fill(row + r.left, row + left, 0u);
        std::fill(row + right, row + r.right, 0u);
    }
}

// The layers over the client pixels of r, which lies inside dst.
void Layers_draw(const Layer_stack& layers, const Rect& r, uint32_t* dst, int pitch, int dst_h) {
    // the client pixels seen as a surface, so that layers blend by the raster ops' own rule
    Surface client;
    client.width = pitch;
    client.height = dst_h;
    client.pixels = dst;
    for (const Layer& l : layers.layer) {
        Rect c = Rect_and(Layer_rect(l), r);
        if (Rect_empty(c) || l.alpha == 0) continue;
        int w = c.right - c.left, h = c.bottom - c.top, sx = c.left - l.x, sy = c.top - l.y;
        if (l.alpha == 255)
            BitBlt(&client, c.left, c.top, w, h, l.picture.get(), sx, sy, SRCCOPY);
        else
            AlphaBlend(&client, c.left, c.top, w, h, l.picture.get(), sx, sy, w, h,
                       BLENDFUNCTION{AC_SRC_OVER, 0, (uint8_t)l.alpha, 0});
    }
}

} // namespace

Rect Layer_rect(const Layer& layer) {
    if (!layer.picture) return Rect{0, 0, 0, 0};
    // a layer placed far out ends where int ends, and so covers nothing of any window
    int64_t right = std::min<int64_t>((int64_t)layer.x + layer.picture->width, INT_MAX);
    int64_t bottom = std::min<int64_t>((int64_t)layer.y + layer.picture->height, INT_MAX);
    return Rect{layer.x, layer.y, (int)right, (int)bottom};
}

Rect Layers_bounds(const Layer_stack& layers) {
    Rect all{0, 0, 0, 0};
    for (const Layer& l : layers.layer) all = Rect_or(all, Layer_rect(l));
    return all;
}

Rect Rect_and(const Rect& r, const Rect& s) {
    Rect c{std::max(r.left, s.left), std::max(r.top, s.top), std::min(r.right, s.right),
           std::min(r.bottom, s.bottom)};
    return Rect_empty(c) ? Rect{0, 0, 0, 0} : c;
}

Rect Rect_or(const Rect& r, const Rect& s) {
    if (Rect_empty(r)) return s;
    if (Rect_empty(s)) return r;
    return Rect{std::min(r.left, s.left), std::min(r.top, s.top), std::max(r.right, s.right),
                std::max(r.bottom, s.bottom)};
}

bool Rect_empty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

void Client_draw(const Surface& picture, const View& view, const Layer_stack& layers, const Rect& part,
                 uint32_t* dst, int pitch, int dst_w, int dst_h) {
    Rect r = Rect_and(part, Rect{0, 0, dst_w, dst_h});
    if (Rect_empty(r)) return;
    Fill_bars(r, Rect{view.x, view.y, view.x + view.w, view.y + view.h}, dst, pitch);
    // the view seen from r's corner: View_draw then draws r and nothing around it
    View from_corner{view.x - r.left, view.y - r.top, view.w, view.h};
    View_draw(picture, Rect{0, 0, picture.width, picture.height}, from_corner,
              dst + (size_t)r.top * pitch + r.left, pitch, r.right - r.left, r.bottom - r.top);
    Layers_draw(layers, r, dst, pitch, dst_h);
}
