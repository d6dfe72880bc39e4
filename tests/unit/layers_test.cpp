// The window's layers as the headless client area shows them: over the scaled picture and its bars in
// client pixels, stacked by index, blended once, clipped, and gone without a trace.
#include "headless.h"
#include "unit_support.h"
#include "window/view.h"

#include <climits>

namespace {

LRESULT Quiet(Window* w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProc(w, m, wp, lp); }

class Layers : public testing::Test {
  protected:
    Layers() {
        headless.keep_client();
        WndClass wc{0, Quiet, nullptr, Icon{nullptr, 0}, "layers"};
        RegisterClass(&wc);
        window = CreateWindow("layers", "layers", 0, 0, 0, 640, 480, nullptr);
        for (int i = 0; i < 640 * 480; i++) picture->pixels[i] = (uint32_t)(i * 2654435761u) & 0xFFFFFF;
        Show();
    }
    ~Layers() override { Use_headless_backend(); }
    void Show() { BitBlt(GetDC(window), 0, 0, 640, 480, picture.get(), 0, 0, SRCCOPY); }
    Surface_ptr Client() {
        return Make(headless.client().width, headless.client().height, Pixels(&headless.client()));
    }
    Headless& headless = Use_headless_backend();
    Window* window = nullptr;
    Surface_ptr picture = Make(640, 480, {0});
};

TEST_F(Layers, StackInClientPixelsOverThePictureAndItsBarsAndLeaveNoTrace) {
    Surface_ptr red = Make(40, 20, {0xFF0000}), green = Make(40, 20, {0x00FF00}),
                blue = Make(30, 30, {0x0000FF});
    for (auto [w, h] : {std::pair(640, 480), {1280, 960}, {1000, 600}}) {
        Set_client_size(window, w, h);
        Show();
        Surface_ptr beneath = Client();
        ASSERT_EQ(beneath->width * beneath->height, w * h);
        View v = View_fit(w, h, 640, 480);
        Px scaled((size_t)w * h, 0);
        View_draw(*picture, Rect{0, 0, 640, 480}, v, scaled.data(), w, w, h);
        EXPECT_EQ(Pixels(beneath.get()), scaled) << w; // bars black, the picture as the window scales it
        // set out of order, drawn by index: green over red; blue half-seen, part of it off the window
        Set_layer(window, 3, green.get(), 100, 20);
        Set_layer(window, 1, red.get(), 90, 10);
        Set_layer(window, 5, blue.get(), w - 10, -5, 100);
        Surface_ptr want = Make(w, h, Pixels(beneath.get()));
        BitBlt(want.get(), 90, 10, 40, 20, red.get(), 0, 0, SRCCOPY);
        BitBlt(want.get(), 100, 20, 40, 20, green.get(), 0, 0, SRCCOPY);
        AlphaBlend(want.get(), w - 10, 0, 10, 25, blue.get(), 0, 5, 10, 25,
                   BLENDFUNCTION{AC_SRC_OVER, 0, 100, 0});
        EXPECT_EQ(Pixels(Client().get()), Pixels(want.get())) << w;
        for (int layer : {1, 3, 5}) Set_layer(window, layer, nullptr, 0, 0);
        EXPECT_EQ(Pixels(Client().get()), Pixels(beneath.get())) << w;
    }
}

TEST_F(Layers, AFrameChangedUnderALayerBlendsItOnceAndBadLayersAreRefused) {
    Surface_ptr blue = Make(640, 480, {0x0000FF}), red = Make(2, 2, {0xFF0000});
    BitBlt(picture.get(), 0, 0, 640, 480, blue.get(), 0, 0, SRCCOPY);
    Show();
    EXPECT_TRUE(Set_layer(window, 0, red.get(), 5, 5, 128));
    Show();
    Surface_ptr black = Make(1, 1, {0});
    BitBlt(picture.get(), 6, 5, 1, 1, black.get(), 0, 0,
           SRCCOPY); // drawn on under the layer, presented again
    Show();
    Surface_ptr shown = Client();
    // per channel (s a + d (255 - a)) / 255, truncated
    EXPECT_EQ((Px{shown->pixels[5 * 640 + 5], shown->pixels[5 * 640 + 6], shown->pixels[6 * 640 + 7]}),
              (Px{0x80007F, 0x800000, 0x0000FF}));
    for (auto [layer, alpha] : {std::pair(-1, 255), {WINDOW_LAYERS, 255}, {0, 256}, {0, -1}})
        EXPECT_FALSE(Set_layer(window, layer, red.get(), 0, 0, alpha));
    EXPECT_FALSE(Set_layer(nullptr, 0, red.get(), 0, 0));
    // far out of the window it covers nothing, and reads and writes nothing outside its buffers
    EXPECT_TRUE(Set_layer(window, 0, red.get(), INT_MAX - 1, INT_MIN));
    EXPECT_EQ(Pixels(Client().get()), Pixels(picture.get()));
}

} // namespace
