// Save and restore as the reader meets them: F5 and F9 at an open choice over a real picture, so
// with five live pictures, the script buffer and every field. Both run between two loop turns, so
// their time is a pause the reader can see; so is the save screen's reading of a page of slots.
#include "bench_folder.h"
#include "save_format.h"
#include "save_preview.h"
#include "slots.h"

#include <cstdlib>

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
        // the slots in the folder
        setenv("XDG_DATA_HOME", fs::current_path().c_str(), 1);
        reader.game_id = "bench";
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

// A restore into a story updated since: a script as long as the buffer holds, of lines alike, the place
// in its middle and a line added at its top, so that the place is looked for through every line of both.
void BM_Save_restore_updated(benchmark::State& state) {
    std::string lines;
    for (int n = 0; lines.size() < SCRIPT_BUF_SIZE - 100; n++)
        lines += "line " + std::to_string(10000 + n) + "#wait\r\n";
    Game_folder folder{"#wait\r\n" + lines};
    Play_until(Use_headless_backend(), 500);
    game.cur = SCRIPT_BUF_SIZE / 2;
    std::string file = Save_encode("bench", GetTickCount());
    Write_script("#wait\r\n## added\r\n" + lines.substr(0, SCRIPT_BUF_SIZE - 120));
    bool kept = true;
    for (auto _ : state)
        if (Save_restore(file, "bench", GetTickCount(), &kept) || kept)
            return state.SkipWithError("the save did not land in the new text");
}
BENCHMARK(BM_Save_restore_updated)->Unit(benchmark::kMillisecond);

// The picture at a quarter size, the time and the page's first characters: what a save adds.
void BM_Preview_entries(benchmark::State& state) {
    At_choice at;
    for (auto _ : state) benchmark::DoNotOptimize(Preview_entries());
}
BENCHMARK(BM_Preview_entries)->Unit(benchmark::kMicrosecond);

// A save as the screen or F5 makes it: encoded with its preview and written whole, flushed to disk.
void BM_Save_to_slot(benchmark::State& state) {
    At_choice at;
    for (auto _ : state)
        if (Save_to_slot(1)) return state.SkipWithError("the save failed");
}
BENCHMARK(BM_Save_to_slot)->Unit(benchmark::kMillisecond);

// A page of the save screen: ten slots' files read and checked whole, their previews inflated.
void BM_List_page(benchmark::State& state) {
    At_choice at;
    for (int slot = 0; slot < 10; slot++)
        if (Save_to_slot(slot)) return state.SkipWithError("the save failed");
    for (auto _ : state)
        for (int slot = 0; slot < 10; slot++)
            if (Read_slot(slot).broken) return state.SkipWithError("a slot shows broken");
}
BENCHMARK(BM_List_page)->Unit(benchmark::kMillisecond);

} // namespace
