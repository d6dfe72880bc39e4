// What each drawing call leaves on its surface: a new version, and the rectangle it wrote.
#include "touch.h"

#include <algorithm>

namespace {

bool Touching(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

Rect Joined(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

void Add(Damage& d, Rect r) {
    // a rectangle that touches another takes it in, and may then touch a third
    for (int i = 0; i < d.count;) {
        if (!Touching(d.rects[i], r)) {
            i++;
            continue;
        }
        r = Joined(r, d.rects[i]);
        d.rects[i] = d.rects[--d.count];
        i = 0;
    }
    if (d.count == DAMAGE_RECTS) {
        for (int i = 0; i < d.count; i++) r = Joined(r, d.rects[i]);
        d.count = 0;
    }
    d.rects[d.count++] = r;
}

} // namespace

void Touch(Surface* surface, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    static uint64_t versions = 0;
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, surface->width);
    bottom = std::min<int64_t>(bottom, surface->height);
    if (left >= right || top >= bottom) return;
    surface->version = ++versions;
    Add(surface->damage, Rect{(int32_t)left, (int32_t)top, (int32_t)right, (int32_t)bottom});
}

void Touch(Surface* surface) { Touch(surface, 0, 0, surface->width, surface->height); }

Damage Take_damage(const Surface* surface) {
    Damage taken = surface->damage;
    surface->damage = Damage{};
    return taken;
}
