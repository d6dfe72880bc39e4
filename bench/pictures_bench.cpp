// One frame of each transition, one fade step and one pass of the open choice menu, at 640 x 480:
// each must stay far below the 20 ms and 50 ms cadences and the 1 ms idle pass.
#include "bench_folder.h"
#include "gfx.h"
#include "interact.h"

#include <benchmark/benchmark.h>

namespace {

// BS and BG with different, non-uniform pictures, so that no copy is a no-op.
void Paint_screens() {
    for (int i = 0; i < 640 * 480; i++) {
        game.bs_surface->pixels[i] = (uint32_t)i * 2654435761u & 0x00FFFFFF;
        game.bg_surface->pixels[i] = (uint32_t)(i ^ 0x5A5A5A) * 40503u & 0x00FFFFFF;
    }
}

// A frame from the middle of the effect, where the most is drawn.
void BM_Transition_frame(benchmark::State& state) {
    static const int middle_step[] = {370, 20, 160, 120};
    int kind = (int)state.range(0);
    Game_folder folder("");
    Play_until(Use_headless_backend(), 1);
    Paint_screens();
    game.change_kind = kind;
    for (auto _ : state) {
        game.change_step = middle_step[kind];
        game.change_tick = GetTickCount() - 20;
        Tick_change();
        benchmark::DoNotOptimize(game.bs_surface->pixels);
        benchmark::ClobberMemory();
    }
    static const char* const names[] = {"CURTAIN", "SPREAD", "STRETCH_X", "STRETCH_Y"};
    state.SetLabel(names[kind]);
}
BENCHMARK(BM_Transition_frame)->DenseRange(0, 3);

void BM_Fade_step(benchmark::State& state) {
    Game_folder folder("");
    Play_until(Use_headless_backend(), 1);
    Paint_screens();
    for (auto _ : state) {
        game.fade_percent = 50;
        game.fade_tick = GetTickCount() - 50;
        Tick_fade_in();
        benchmark::DoNotOptimize(game.bs_surface->pixels);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fade_step);

// The pointer over choice 2 without a press: all three lines redrawn, nothing picked.
void BM_Tick_select_pass(benchmark::State& state) {
    Game_folder folder(Utf8_to_cp932(
        "#select3 {\r\n祠に手を合わせる\r\n目を閉じて走り抜ける\r\n港の灯を見る\r\n/a/b/c}\r\n"));
    Play_until(Use_headless_backend(), 100);
    if (!game.select_run) {
        state.SkipWithError("the choice menu did not open");
        return;
    }
    game.mouse_x = game.choice_rect[1].left + 5;
    game.mouse_y = game.choice_rect[1].top + 5;
    for (auto _ : state) {
        Tick_select();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Tick_select_pass);

} // namespace
