// The history as the reader meets it: 200 pages of text over a real picture, each a page the
// reader clicked through with the reader in front, and the snapshot one page start costs.
#include "bench_folder.h"
#include "history.h"

#include <benchmark/benchmark.h>

#include <set>
#include <string>

namespace {

constexpr int PAGES = 200;

// A story of PAGES pages, each of its own text, over the harbour picture.
std::string Long_story() {
    std::string script = "#g_load BG harbor.bgh\r\n#g_change CURTAIN\r\n#set_text_wait 0\r\n";
    std::string line = Utf8_to_cp932("石畳に映る街灯の光が、波のようにゆらいでいる。");
    for (int page = 0; page < PAGES; page++)
        script += "#page\r\n" + std::to_string(page) + line + ";\r\n" + line + "#wait\r\n";
    return script;
}

struct Story_read {
    Game_folder folder{Long_story()};
    Story_read() {
        fs::copy_file(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "gdat" / "harbor.bgh", "gdat/harbor.bgh");
        Headless& headless = Use_headless_backend();
        // a click at each page's wait, well after its text is typed
        for (int page = 0; page < PAGES; page++) {
            DWORD at = 2000 + 300 * (DWORD)page;
            headless.inject(at, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            headless.inject(at + 10, WM_LBUTTONUP, 0, 0);
        }
        headless.stop_at(2000 + 300 * PAGES + 100);
        static const Instance instance{nullptr, 0};
        Main_play(&instance, Play_options{}, "veltrane-bench");
    }
};

// The memory every page's snapshot holds, each shared picture counted once.
size_t History_bytes() {
    std::set<const Blob*> seen;
    size_t total = 0;
    for (const Page& page : History_pages()) {
        total += page.text.size() + page.start.small.size();
        for (const auto& [name, blob] : page.start.large)
            if (seen.insert(blob.get()).second) total += Blob_bytes(*blob);
    }
    return total;
}

void BM_History_200_pages(benchmark::State& state) {
    for (auto _ : state) {
        Story_read story;
        if (History_pages().size() < PAGES) {
            return state.SkipWithError("the story did not reach its last page");
        }
        state.counters["pages"] = (double)History_pages().size();
        state.counters["history_MB"] = (double)History_bytes() / (1 << 20);
    }
}
BENCHMARK(BM_History_200_pages)->Unit(benchmark::kMillisecond)->Iterations(1);

// One page start: the state entries made, the changed picture deflated, the rest shared.
void BM_Snapshot_at_a_page(benchmark::State& state) {
    Story_read story;
    Snapshot snapshot;
    for (auto _ : state) {
        // a picture changed since the last snapshot, as a page's text changes it
        game.bs_surface->pixels[state.iterations() % (SCREEN_W * SCREEN_H)] ^= 0x010101;
        if (!Snapshot_take(&snapshot)) return state.SkipWithError("the snapshot was refused");
    }
    state.counters["bytes"] = (double)snapshot.bytes();
}
BENCHMARK(BM_Snapshot_at_a_page)->Unit(benchmark::kMillisecond);

} // namespace
