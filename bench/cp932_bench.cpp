// CP932 both ways over a 60 KB script's worth of text, as the converter, the dialogs and the file
// names meet it: the cost a character.
#include "platform.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Story text as authors write it: kanji and kana, half-width kana, ASCII between, in UTF-8.
std::string Story_utf8() {
    std::string text;
    while (text.size() < 60 * 1024)
        text += "夜の港町に静かな雨が降っていた。ｶﾅ Chapter 1: 石畳に映る街灯の光～\n";
    return text;
}

void BM_Cp932_to_utf8_60KB(benchmark::State& state) {
    const std::string cp932 = Utf8_to_cp932(Story_utf8().c_str());
    for (auto _ : state) benchmark::DoNotOptimize(Cp932_to_utf8(cp932.data(), cp932.size()));
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)cp932.size());
}
BENCHMARK(BM_Cp932_to_utf8_60KB);

void BM_Utf8_to_cp932_60KB(benchmark::State& state) {
    const std::string utf8 = Story_utf8();
    for (auto _ : state) benchmark::DoNotOptimize(Utf8_to_cp932(utf8.c_str()));
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)utf8.size());
}
BENCHMARK(BM_Utf8_to_cp932_60KB);

} // namespace
