// Save and restore as the reader meets them: F5 and F9 at an open choice over a real picture, so
// with five live pictures, the script buffer and every field. Both run between two loop turns, so
// their time is a pause the reader can see.
#include "bench_folder.h"
#include "save_format.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr char SCRIPT[] =
    "#g_load BG harbor.bgh\r\n#fade_in\r\n#select3 {\r\none\r\ntwo\r\nthree\r\n/A/B/C}\r\n";

struct At_choice {
    Game_folder folder{SCRIPT};
    At_choice() {
        fs::copy_file(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "gdat" / "harbor.bgh", "gdat/harbor.bgh");
        Play_until(Use_headless_backend(), 3000);
    }
};

void BM_Save_encode(benchmark::State& state) {
    At_choice at;
    if (game.select_run != 1) return state.SkipWithError("the choice did not open");
    size_t size = 0;
    for (auto _ : state) size = Save_encode("bench", GetTickCount()).size();
    state.counters["file_bytes"] = (double)size;
}
BENCHMARK(BM_Save_encode)->Unit(benchmark::kMillisecond);

void BM_Save_restore(benchmark::State& state) {
    At_choice at;
    std::string file = Save_encode("bench", GetTickCount());
    for (auto _ : state)
        if (Save_restore(file, "bench", GetTickCount())) return state.SkipWithError("the save was refused");
}
BENCHMARK(BM_Save_restore)->Unit(benchmark::kMillisecond);

} // namespace
