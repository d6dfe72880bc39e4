// The raster ops at the sizes the engine uses every frame: whole-screen copies, masks, fades,
// transitions and fills, and one character of text drawn from the warm glyph cache.
#include "platform.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// Two full-screen surfaces with different, non-uniform content, so that no op is a no-op.
struct Screens {
    Surface* dst = CreateSurface(640, 480);
    Surface* src = CreateSurface(640, 480);
    Screens() {
        for (int i = 0; i < 640 * 480; i++) {
            dst->pixels[i] = (uint32_t)i * 2654435761u & 0x00FFFFFF;
            src->pixels[i] = (uint32_t)(i ^ 0x5A5A5A) * 40503u & 0x00FFFFFF;
        }
    }
    ~Screens() {
        DeleteSurface(dst);
        DeleteSurface(src);
    }
};

void BM_BitBlt_640x480_SRCCOPY(benchmark::State& state) {
    Screens s;
    for (auto _ : state) {
        BitBlt(s.dst, 0, 0, 640, 480, s.src, 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_BitBlt_640x480_SRCCOPY);

void BM_BitBlt_640x480_SRCAND(benchmark::State& state) {
    Screens s;
    for (auto _ : state) {
        BitBlt(s.dst, 0, 0, 640, 480, s.src, 0, 0, SRCAND);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_BitBlt_640x480_SRCAND);

void BM_AlphaBlend_640x480_alpha128(benchmark::State& state) {
    Screens s;
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    for (auto _ : state) {
        AlphaBlend(s.dst, 0, 0, 640, 480, s.src, 0, 0, 640, 480, half);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_AlphaBlend_640x480_alpha128);

// The shrinks a STRETCH transition draws, from the full screen onto a half and a narrow band,
// and SPREAD's equal-size copy at full screen.
void BM_StretchBlt_640x480(benchmark::State& state) {
    const int w = (int)state.range(0), h = (int)state.range(1);
    Screens s;
    for (auto _ : state) {
        StretchBlt(s.dst, 0, 0, w, h, s.src, 0, 0, 640, 480, SRCCOPY);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchBlt_640x480)->Args({320, 240})->Args({320, 480})->Args({40, 480})->Args({640, 480});

void BM_PatBlt_640x480(benchmark::State& state) {
    Screens s;
    Brush* brush = CreateSolidBrush(RGB(30, 60, 90));
    SelectObject(s.dst, brush);
    for (auto _ : state) {
        PatBlt(s.dst, 0, 0, 640, 480, PATCOPY);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
    SelectObject(s.dst, static_cast<const Brush*>(nullptr));
    DeleteObject(brush);
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}
BENCHMARK(BM_PatBlt_640x480);

// The text task draws one character per step with a font of its own; this is that call once
// the glyph has been rendered and cached.
void BM_TextOut_one_kanji_20px_warm(benchmark::State& state) {
    Screens s;
    Font* font = CreateFont(20, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
    if (!font) {
        state.SkipWithError("no Japanese font installed");
        return;
    }
    const char* kanji = Sjis("漢");
    SelectObject(s.dst, font);
    SetBkMode(s.dst, TRANSPARENT);
    SetTextColor(s.dst, RGB(255, 255, 255));
    TextOut(s.dst, 20, 20, kanji, 2); // renders the glyph into the cache
    for (auto _ : state) {
        TextOut(s.dst, 20, 20, kanji, 2);
        benchmark::DoNotOptimize(s.dst->pixels);
        benchmark::ClobberMemory();
    }
    SelectObject(s.dst, static_cast<Font*>(nullptr));
    DeleteObject(font);
}
BENCHMARK(BM_TextOut_one_kanji_20px_warm);

} // namespace
