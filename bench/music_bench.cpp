// What starting music costs the text step that runs play_midi or play_mp3: the file opened and
// checked (an MP3 piece decoded, a MIDI file read whole). The first play of the process is timed
// alone (counter first_ms), then every later one. Headless: the same checks as on the desktop,
// without the device starting to play; the real backend's own part is timed apart.
#include "audio.h"
#include "bench_folder.h"
#include "script.h"
#include "sdl/sdl_audio.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

constexpr Uint32 PIECE_MS = 5;

// One text step over "#COMMAND NAME": the handler opens and plays the piece.
void Step_command(const std::string& line) {
    std::memset(game.script_buf, 0, sizeof game.script_buf);
    std::memcpy(game.script_buf, line.data(), line.size());
    game.cur = 0;
    game.text_wait = 0;
    game.text_run = 1;
    Tick_text();
}

void Play_step(benchmark::State& state, const char* command, const char* piece) {
    Game_folder folder("");
    fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI", "MIDI");
    Use_headless_backend();
    const std::string line = std::string("#") + command + " " + piece + "\r\n";
    auto start = std::chrono::steady_clock::now();
    Step_command(line);
    state.counters["first_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    Com_stop_midi();
    Com_stop_mp3();
    for (auto _ : state) {
        Step_command(line);
        state.PauseTiming();
        if (game.bgm_playing != 1) state.SkipWithError("the piece did not play");
        Com_stop_midi();
        Com_stop_mp3();
        state.ResumeTiming();
    }
    Use_headless_backend();
}

void BM_play_midi_step(benchmark::State& state) { Play_step(state, "play_midi", "theme.mid"); }

// The real backend's part of the same step, on SDL's dummy audio driver: open and play the piece;
// the first time also starts the mixer and the loading of the soundfont.
void BM_play_midi_sdl(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string file = std::string(VELTRANE_SOURCE_DIR) + "/demo/MIDI/theme.mid";
    Sdl_audio audio;
    auto start = std::chrono::steady_clock::now();
    if (audio.open_music(1, file, true) != 0) state.SkipWithError("the piece did not open");
    audio.play_music(1);
    state.counters["first_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (auto _ : state) {
        state.PauseTiming();
        // the piece sounds a moment, as a story's would, before the next text step restarts it
        SDL_Delay(PIECE_MS);
        audio.close_music(1);
        state.ResumeTiming();
        if (audio.open_music(1, file, true) != 0) state.SkipWithError("the piece did not open");
        audio.play_music(1);
    }
}
void BM_play_mp3_step(benchmark::State& state) { Play_step(state, "play_mp3", "evening.mp3"); }

} // namespace

BENCHMARK(BM_play_midi_step)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_play_mp3_step)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_play_midi_sdl)->Unit(benchmark::kMillisecond)->Iterations(200);
