// The scaled picture: its place between the bars, positions mapped back to it, and a scaler whose
// draws of the changed parts give exactly what a whole draw gives.
#include "unit_support.h"
#include "window/layers.h"
#include "window/view_avx2.h"

#include <random>

namespace {

// The filter as one client pixel sees it, computed alone: the centre of client pixel i of n showing m
// source pixels lies at (i + 0.5) * m / n - 0.5 (16.16, at 0 or above); the source pixels on either
// side of it are mixed across, then down, each channel in 1/256.
uint32_t Tap(int i, int n, int m, int* first, int* second) {
    int64_t s = std::max<int64_t>(((2 * (int64_t)i + 1) * m * 65536) / (2 * (int64_t)n) - 32768, 0);
    *first = std::min((int)(s >> 16), m - 1);
    *second = std::min(*first + 1, m - 1);
    return (uint32_t)(s >> 8) & 0xFF;
}

uint32_t Mix(uint32_t a, uint32_t b, uint32_t f) {
    uint32_t rb = ((a & 0xFF00FF) * (256 - f) + (b & 0xFF00FF) * f) >> 8;
    uint32_t g = ((a & 0x00FF00) * (256 - f) + (b & 0x00FF00) * f) >> 8;
    return (rb & 0xFF00FF) | (g & 0x00FF00);
}

// What the client pixel (x, y) of the view shows: at a whole factor the picture pixel under it as it
// is, else the filter's mix.
uint32_t Shown(const Surface& pic, const View& v, int x, int y) {
    if (View_whole(v, pic.width, pic.height)) {
        int k = v.w / pic.width;
        return pic.pixels[(size_t)(y - v.y) / k * pic.width + (x - v.x) / k];
    }
    int x0, x1, y0, y1;
    uint32_t fx = Tap(x - v.x, v.w, pic.width, &x0, &x1), fy = Tap(y - v.y, v.h, pic.height, &y0, &y1);
    const uint32_t *upper = pic.pixels + (size_t)y0 * pic.width, *lower = pic.pixels + (size_t)y1 * pic.width;
    return Mix(Mix(upper[x0], upper[x1], fx), Mix(lower[x0], lower[x1], fx), fy);
}

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

} // namespace

TEST(View, FitKeepsTheShapeCentredAndMapsPositionsBack) {
    for (const Row& c : Table("unit/views.txt")) {
        std::vector<int> at = c.Ints(1);
        View v = c[0] == "fit" ? View_fit(at[0], at[1], 640, 480) : View_fit(1920, 1080, 640, 480);
        std::vector<int> got{v.x, v.y, v.w, v.h};
        if (c[0] == "map") got.resize(2), View_to_picture(v, 640, 480, at[0], &got[0], at[1], &got[1]);
        EXPECT_EQ(got, c.Ints(2)) << c.where;
    }
    EXPECT_TRUE(View_whole(View_fit(1920, 1440, 640, 480), 640, 480));
    EXPECT_FALSE(View_whole(View_fit(1920, 1080, 640, 480), 640, 480));
}

TEST(View, WholeFactorsRepeatPixelsAndRedrawnPartsMatchTheWhole) {
    Surface_ptr pic(CreateSurface(640, 480));
    std::mt19937 random(3);
    for (int i = 0; i < 640 * 480; i++) pic->pixels[i] = random() & 0xFFFFFF;
    Rect all{0, 0, 640, 480};
    for (auto [w, h] : {std::pair(1280, 960), {1920, 1080}, {1600, 1000}, {500, 400}}) {
        View v = View_fit(w, h, 640, 480);
        std::vector<uint32_t> whole(w * h), parts(w * h);
        View_draw(*pic, all, v, parts.data(), w, w, h);
        // pieces of the picture change and only they are drawn again: the client shows what a
        // whole draw of the new picture shows
        for (Rect r : {Rect{100, 100, 101, 101}, Rect{0, 0, 300, 200}, Rect{320, 240, 640, 480},
                       Rect{5, 470, 9, 480}}) {
            for (int y = r.top; y < r.bottom; y++)
                for (int x = r.left; x < r.right; x++) pic->pixels[y * 640 + x] = random() & 0xFFFFFF;
            View_draw(*pic, r, v, parts.data(), w, w, h);
        }
        View_draw(*pic, all, v, whole.data(), w, w, h);
        EXPECT_EQ(parts, whole) << w << "x" << h;
        if (w == 1280) {
            for (int y = 0; y < h; y += 7)
                for (int x = 0; x < w; x += 5)
                    ASSERT_EQ(whole[y * w + x], pic->pixels[(y / 2) * 640 + x / 2]) << x << "," << y;
        }
        // bars stay as they were, and a changed piece redraws no more than its neighbourhood
        Rect touched = View_rect(v, 640, 480, Rect{100, 100, 101, 101});
        EXPECT_LE(touched.right - touched.left, 3 * w / 640 + 2) << w;
        EXPECT_EQ(whole[0], v.x > 0 || v.y > 0 ? 0u : pic->pixels[0]) << w;
    }
}

// With the processor's AVX2 loops and without them.
TEST(View, DrawnPartsShowEachPixelAsComputedAloneAndTouchNothingElse) {
    Surface_ptr pic(CreateSurface(640, 480));
    std::mt19937 random(5);
    for (int i = 0; i < 640 * 480; i++) pic->pixels[i] = random(); // spare bytes too: the filter drops them
    const uint32_t untouched = 0xA5A5A5A5;
    for (bool avx2 : {true, false})
        for (const Row& c : Table("unit/view_draws.txt")) {
            Use_avx2_scaler(avx2);
            SCOPED_TRACE(avx2 ? "AVX2 where the processor has it" : "no AVX2");
            std::vector<int> size = c.Ints(1), at = c.Ints(2);
            int w = size[0], h = size[1], pitch = w + 1; // a spare column after each row, as windows may have
            Rect part{at[0], at[1], at[2], at[3]}, drawn = part;
            View v = View_fit(w, h, 640, 480);
            Px client((size_t)pitch * h, untouched);
            if (c[0] == "picture") {
                View_draw(*pic, part, v, client.data(), pitch, w, h);
                drawn = View_rect(v, 640, 480, part);
            } else {
                Client_draw(*pic, v, Layer_stack{}, part, client.data(), pitch, w, h);
            }
            Rect picture{v.x, v.y, v.x + v.w, v.y + v.h};
            int wrong = 0;
            for (int y = 0; y < h; y++)
                for (int x = 0; x < pitch; x++) {
                    uint32_t want = !Inside(drawn, x, y)    ? untouched
                                    : Inside(picture, x, y) ? Shown(*pic, v, x, y)
                                                            : 0;
                    uint32_t got = client[(size_t)y * pitch + x];
                    if (got != want && wrong++ < 3)
                        ADD_FAILURE() << c.where << ": at " << x << "," << y << std::hex << " 0x" << got
                                      << " for 0x" << want;
                }
            EXPECT_EQ(wrong, 0) << c.where;
        }
    Use_avx2_scaler(true);
}
