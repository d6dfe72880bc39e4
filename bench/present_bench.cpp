// The present path on the headless backend: the scheduler presents BS every PRESENT_INTERVAL whether or not
// anything was drawn, so presenting an unchanged surface must cost next to nothing, while a
// changed one pays for the copy into the window's frame.
#include "headless.h"
#include "platform.h"
#include "window/layers.h"
#include "window/view_avx2.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

LRESULT Quiet_proc(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

struct Headless_window {
    Headless& headless = Use_headless_backend();
    WindowDC* dc = nullptr;
    Surface* screen = CreateSurface(640, 480);
    Headless_window() {
        WndClass wc{0, Quiet_proc, nullptr, Icon{nullptr, 0}, "present-bench"};
        RegisterClass(&wc);
        Window* window = CreateWindow("present-bench", "present-bench", WS_CAPTION, 0, 0, 640, 480, nullptr);
        dc = GetDC(window);
    }
    ~Headless_window() { DeleteSurface(screen); }
};

void BM_Present_unchanged(benchmark::State& state) {
    Headless_window w;
    if (!w.dc || !w.screen) {
        state.SkipWithError("no headless window");
        return;
    }
    BitBlt(w.dc, 0, 0, 640, 480, w.screen, 0, 0, SRCCOPY);
    int before = w.headless.uploads();
    for (auto _ : state) benchmark::DoNotOptimize(BitBlt(w.dc, 0, 0, 640, 480, w.screen, 0, 0, SRCCOPY));
    if (w.headless.uploads() != before) state.SkipWithError("an unchanged surface was uploaded again");
}
BENCHMARK(BM_Present_unchanged);

void BM_Present_changed(benchmark::State& state) {
    Headless_window w;
    if (!w.dc || !w.screen) {
        state.SkipWithError("no headless window");
        return;
    }
    Brush brush{RGB(200, 100, 50)};
    SelectObject(w.screen, &brush);
    int before = w.headless.uploads();
    for (auto _ : state) {
        PatBlt(w.screen, 0, 0, 1, 1, PATCOPY); // one pixel drawn: the whole frame goes again
        benchmark::DoNotOptimize(BitBlt(w.dc, 0, 0, 640, 480, w.screen, 0, 0, SRCCOPY));
    }
    SelectObject(w.screen, static_cast<const Brush*>(nullptr));
    if (w.headless.uploads() - before != (int)state.iterations())
        state.SkipWithError("a changed surface was not uploaded");
}
BENCHMARK(BM_Present_changed);

} // namespace

// The reader's enlarged window: the whole picture scaled into the client area, unscaled, at a whole
// factor (rows repeated) and at the 2.25 and 3.33 times of 1920 x 1080 and 2560 x 1600 screens
// (filtered). A full frame is the worst case: a fade redraws all of it 20 times a second, a
// transition up to 50. Compare with BM_Client_copy, the bare writing of as many pixels.
// The window sizes readers use: the picture's own, twice it, full HD and a large laptop's screen.
void Window_sizes(benchmark::internal::Benchmark* b) {
    for (auto [w, h] : {std::pair{640, 480}, {1280, 960}, {1920, 1080}, {2560, 1600}}) b->Args({w, h});
}

void BM_Scale_whole_frame(benchmark::State& state) {
    int w = (int)state.range(0), h = (int)state.range(1);
    Surface* picture = CreateSurface(640, 480);
    std::vector<uint32_t> client((size_t)w * h);
    View view = View_fit(w, h, 640, 480);
    for (auto _ : state) {
        View_draw(*picture, Rect{0, 0, 640, 480}, view, client.data(), w, w, h);
        benchmark::ClobberMemory();
    }
    DeleteSurface(picture);
}
BENCHMARK(BM_Scale_whole_frame)->Apply(Window_sizes)->Unit(benchmark::kMillisecond);

// The same without the processor's AVX2 loops: the scaler as any amd64 processor runs it.
void BM_Scale_whole_frame_without_avx2(benchmark::State& state) {
    Use_avx2_scaler(false);
    BM_Scale_whole_frame(state);
    Use_avx2_scaler(true);
}
BENCHMARK(BM_Scale_whole_frame_without_avx2)->Apply(Window_sizes)->Unit(benchmark::kMillisecond);

// The floor under any scaler: each client row of the picture's place written once, from a row in cache.
void BM_Client_copy(benchmark::State& state) {
    int w = (int)state.range(0), h = (int)state.range(1);
    std::vector<uint32_t> client((size_t)w * h), row((size_t)w);
    View view = View_fit(w, h, 640, 480);
    for (auto _ : state) {
        for (int y = view.y; y < view.y + view.h; y++)
            std::memcpy(&client[(size_t)y * w + view.x], row.data(), (size_t)view.w * sizeof row[0]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Client_copy)->Apply(Window_sizes)->Unit(benchmark::kMillisecond);

// The same frame as the SDL window draws it, through Client_draw: with no layers it must cost what the
// scaler costs; with a notice's plate over it, the plate's copy more.
void BM_Client_whole_frame(benchmark::State& state) {
    int w = (int)state.range(0), h = (int)state.range(1);
    Surface* picture = CreateSurface(640, 480);
    std::vector<uint32_t> client((size_t)w * h);
    View view = View_fit(w, h, 640, 480);
    Layer_stack layers;
    if (state.range(2))
        layers.layer[WINDOW_LAYERS - 1] =
            Layer{std::unique_ptr<Surface, Surface_deleter>(CreateSurface(200, 26)), view.x + 8, 8};
    for (auto _ : state) {
        Client_draw(*picture, view, layers, Rect{view.x, view.y, view.x + view.w, view.y + view.h},
                    client.data(), w, w, h);
        benchmark::ClobberMemory();
    }
    DeleteSurface(picture);
}
BENCHMARK(BM_Client_whole_frame)
    ->Args({1280, 960, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond);
