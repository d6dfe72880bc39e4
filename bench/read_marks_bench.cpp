// Read marks at a page: the key of a long page as it begins, a look-up and a new mark among many
// marks, and the start's reading of a large marks file.
#include "read_marks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

constexpr int MARKS = 100000; // far more pages than a long story has

// MARKS random keys in memory, as a start would read them; the generator goes on from there.
std::mt19937_64 Many_marks() {
    reader = Reader{}; // no folder: nothing is read or written
    Read_marks_start();
    std::mt19937_64 random(7);
    for (int i = 0; i < MARKS; i++) Read_marks_add(random() | 1);
    return random;
}

// A page of text as long as a page's key ever covers, ended by its wait.
void BM_page_key_long_page(benchmark::State& state) {
    std::string page = Utf8_to_cp932("石畳に映る街灯の光が、波のようにゆらいでいる。;\r\n");
    std::memset(game.script_buf, 0, sizeof game.script_buf);
    for (size_t at = 0; at + page.size() < (size_t)PAGE_KEY_BYTES; at += page.size())
        std::memcpy(game.script_buf + at, page.data(), page.size());
    std::strcpy(game.script_name, ".\\txt\\chapter3.tda");
    game.cur = 0;
    for (auto _ : state) benchmark::DoNotOptimize(Page_key());
}
BENCHMARK(BM_page_key_long_page);

void BM_look_up_among_marks(benchmark::State& state) {
    std::mt19937_64 random = Many_marks();
    for (auto _ : state) benchmark::DoNotOptimize(Read_marks_has(random()));
}
BENCHMARK(BM_look_up_among_marks);

// Each a new mark among MARKS and more (no folder, so no write).
void BM_new_mark_among_marks(benchmark::State& state) {
    std::mt19937_64 random = Many_marks();
    for (auto _ : state) Read_marks_add(random() | 1);
}
BENCHMARK(BM_new_mark_among_marks)->Iterations(10000);

void BM_read_marks_file(benchmark::State& state) {
    std::mt19937_64 random(7);
    std::vector<uint64_t> keys(MARKS);
    for (uint64_t& key : keys) key = random() | 1;
    std::sort(keys.begin(), keys.end());
    std::string bytes = Read_marks_encode("demo-0123456789abcdef", keys);
    std::vector<uint64_t> read;
    for (auto _ : state) benchmark::DoNotOptimize(Read_marks_decode(bytes, "demo-0123456789abcdef", &read));
}
BENCHMARK(BM_read_marks_file);

} // namespace
