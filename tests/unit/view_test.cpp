// The scaled picture: its place between the bars, positions mapped back to it, and a scaler whose
// draws of the changed parts give exactly what a whole draw gives.
#include "unit_support.h"
#include "window/view.h"

#include <random>

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
