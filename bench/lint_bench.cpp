// veltrane-lint over the bundled demo and over a script near the size limit, with labels, jumps,
// blocks and every kind of argument the checks read.
#include "bench_folder.h"
#include "lint.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About 60 KB of CP932 story: each part a label, text, settings, a picture, a flag block, a
// choice, and a jump back to an earlier label that the search finds from the buffer's start.
std::string Long_script() {
    std::string text =
        Utf8_to_cp932("夜の港町に静かな雨が降っていた。石畳に映る街灯の光が波のように揺れている。");
    std::string script;
    for (int part = 0; script.size() < 60000; part++) {
        std::string label = "*part" + std::to_string(part) + ":";
        script += label + "\r\n" + text + ";\r\n" + text + "#wait\r\n#set_text_wait 20\r\n";
        script +=
            "#set_text_color 255, 224, 160, 60, 30, 0\r\n#g_load BG back_black.bgh\r\n#g_change CURTAIN\r\n";
        script += "#if_flag " + std::to_string(part % FLAG_COUNT) + " {\r\n" + text + "#w\r\n/\r\n" + text +
                  "\r\n}\r\n";
        script += "#select3 {\r\none\r\ntwo\r\nthree\r\n/#flag_on 1\r\n/#flag_off 1\r\n/}\r\n";
        script += "#jump *part" + std::to_string(part / 2) + ":\r\n";
    }
    return script;
}

void Lint_once(benchmark::State& state) {
    for (auto _ : state) {
        Lint_result result = Lint_game();
        if (!result.report.empty()) {
            state.SkipWithError(result.report.c_str());
            return;
        }
    }
}

void BM_Lint_demo(benchmark::State& state) {
    fs::path previous = fs::current_path();
    fs::current_path(fs::path(VELTRANE_SOURCE_DIR) / "demo");
    Lint_once(state);
    fs::current_path(previous);
}
BENCHMARK(BM_Lint_demo)->Unit(benchmark::kMillisecond);

void BM_Lint_60KB_script(benchmark::State& state) {
    std::string script = Long_script();
    Game_folder folder(script);
    Lint_once(state);
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)script.size());
}
BENCHMARK(BM_Lint_60KB_script)->Unit(benchmark::kMillisecond);

} // namespace
