// The script interpreter where it spends its time: one text step that draws a kanji, the label
// search over a full script buffer, and a whole story played headless at full typing speed.
#include "bench_folder.h"
#include "headless.h"
#include "interact.h"
#include "script.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// Story text in CP932: kanji and kana, all two-byte characters, some thirty distinct glyphs.
std::string Story_line() {
    return Utf8_to_cp932("夜の港町に静かな雨が降っていた石畳に映る街灯の光が波のように揺");
}

// One text step with the cursor on a kanji: the 20-pixel character and its shadow drawn with
// ChrPut3D (a font made and deleted for it, the glyphs from the warm cache), the cursor moved on.
void BM_Tick_text_kanji_20px(benchmark::State& state) {
    std::string script = "#set_text_wait 0\r\n";
    while (script.size() < 60000) script += Story_line();
    Game_folder folder(script);
    Headless& headless = Use_headless_backend();
    Play_until(headless, 40); // past the command: text_wait is 0, and the text is running
    int first_kanji = (int)std::strlen("#set_text_wait 0\r\n");
    if (game.text_wait != 0 || !game.text_run || game.cur < first_kanji) {
        state.SkipWithError("the script did not start typing");
        return;
    }
    auto on_kanji = [] {
        unsigned char b = game.script_buf[game.cur];
        return b >= 0x80 && b != SCRIPT_END_MARK;
    };
    int64_t drawn = 0;
    for (auto _ : state) {
        // a full page waits for a click, and the story ends: neither is a text step, so both are
        // put right outside the measurement
        if (game.page_run || !on_kanji()) {
            state.PauseTiming();
            if (game.page_run) Page_end();
            if (!on_kanji()) game.cur = first_kanji;
            state.ResumeTiming();
        }
        int before = game.cur;
        Tick_text();
        drawn += game.cur - before == 2;
    }
    if (drawn != (int64_t)state.iterations()) state.SkipWithError("a step drew no kanji");
    benchmark::DoNotOptimize(game.bs_surface->pixels);
}
BENCHMARK(BM_Tick_text_kanji_20px);

// A buffer filled to its last byte: scenes of story lines, each opened by a label, and the label
// searched for at the very end.
void Fill_script_buffer(const char* last_label) {
    std::string body;
    // an ideographic space opens each line, as authors write
    std::string line = Utf8_to_cp932("　") + Story_line() + ";\r\n";
    for (int scene = 0; body.size() < SCRIPT_BUF_SIZE; scene++) {
        body += "*scene" + std::to_string(scene) + ":\r\n";
        for (int i = 0; i < 12; i++) body += line;
        body += "#wait\r\n#page\r\n";
    }
    std::string tail = std::string("\r\n") + last_label + "\r\n";
    body.resize(SCRIPT_BUF_SIZE - 2 - tail.size());
    body += tail;
    std::memcpy(game.script_buf, body.data(), body.size());
    game.script_buf[SCRIPT_BUF_SIZE - 2] = SCRIPT_END_MARK;
    game.script_buf[SCRIPT_BUF_SIZE - 1] = 0;
}

void BM_Find_label_at_end(benchmark::State& state) {
    Reset_game();
    Fill_script_buffer("*last:");
    int stop = 0;
    for (auto _ : state) {
        if (!Find_label("*last:", &stop)) {
            state.SkipWithError("the label at the end was not found");
            break;
        }
        benchmark::DoNotOptimize(game.cur);
    }
    state.SetBytesProcessed(state.iterations() * (SCRIPT_BUF_SIZE - 1));
    Reset_game();
}
BENCHMARK(BM_Find_label_at_end);

void BM_Find_label_missing(benchmark::State& state) {
    Reset_game();
    Fill_script_buffer("*last:");
    int stop = 0;
    for (auto _ : state) {
        if (Find_label("*nowhere:", &stop)) {
            state.SkipWithError("a missing label was found");
            break;
        }
        benchmark::DoNotOptimize(stop);
    }
    state.SetBytesProcessed(state.iterations() * (SCRIPT_BUF_SIZE - 1));
    Reset_game();
}
BENCHMARK(BM_Find_label_missing);

// A 60 KB story at text_wait 0, played headless from start-up to its end: pages of ten lines
// cleared with #page, a click every 250 ms (ignored while the text runs, the end once it halts).
// virtual_s_per_s is how many seconds of the story's time one real second plays.
void BM_Play_60KB_text_wait_0(benchmark::State& state) {
    std::string script = "#set_text_wait 0\r\n";
    std::string line = Story_line().substr(0, 40) + ";\r\n"; // 20 kanji
    while (script.size() < 60 * 1024) {
        for (int i = 0; i < 10; i++) script += line;
        script += "#page\r\n";
    }
    Game_folder folder(script);
    double virtual_ms = 0, real_s = 0;
    int64_t plays = 0;
    for (auto _ : state) {
        Reset_game();
        Headless& headless = Use_headless_backend();
        constexpr DWORD deadline = 600000;
        for (DWORD ms = 250; ms < deadline; ms += 250) headless.inject(ms, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        auto start = std::chrono::steady_clock::now();
        Play_until(headless, deadline);
        real_s += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (headless.stopped_by_deadline() || !game.halt_run) {
            state.SkipWithError("the story did not reach its end");
            break;
        }
        virtual_ms += headless.elapsed();
        plays++;
    }
    if (plays == 0 || real_s <= 0) return;
    state.counters["virtual_s_per_play"] = virtual_ms / 1000 / (double)plays;
    state.counters["virtual_s_per_s"] = virtual_ms / 1000 / real_s;
}
BENCHMARK(BM_Play_60KB_text_wait_0)->Unit(benchmark::kMillisecond);

} // namespace
