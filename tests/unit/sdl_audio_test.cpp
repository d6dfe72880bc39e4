// The real backend's sound on SDL's disk audio driver: nothing opened before the first sound, and
// a MIDI piece heard from the process's one synthesizer until it is stopped.
#include "sdl/sdl_audio.h"
#include "sound/mixer.h"
#include "unit_support.h"

#include <cstring>
#include <functional>

namespace {

// an organ C4 from the first tick, held for 20 s: still sounding whenever a loaded machine stops it
const std::string HELD = Smf({0x01, 0xE0}, {{0x00, 0xC0, 0x10, 0x00, 0x90, 0x3C, 0x64, 0x81, 0x96, 0x00, 0x80,
                                             0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});

class Sdl_sound : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(dir / "held.mid", std::ios::binary) << HELD;
        std::ofstream(dir / "cut.mid", std::ios::binary) << HELD.substr(0, HELD.size() - 5);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir / "out.raw").c_str(), 1);
    }

    // Seconds recorded so far: the driver writes at the pace of a sound card, or slower.
    double Recorded() {
        return fs::exists(dir / "out.raw") ? fs::file_size(dir / "out.raw") / 4.0 / MIXER_RATE : 0;
    }

    // The loudest sample recorded from second from to second to.
    int Loudest(double from, double to) {
        const std::string bytes = Read(dir.path / "out.raw");
        int loudest = 0;
        for (size_t i = (size_t)(from * MIXER_RATE) * 4;
             i < (size_t)(to * MIXER_RATE) * 4 && i + 1 < bytes.size(); i += 2) {
            int16_t s;
            std::memcpy(&s, &bytes[i], 2);
            loudest = std::max(loudest, std::abs((int)s));
        }
        return loudest;
    }

    // Whether the condition comes true within a minute: a loaded machine may load the soundfont and
    // write the recording slowly, but never that slowly.
    static bool Within_a_minute(const std::function<bool()>& condition) {
        for (int i = 0; i < 6000 && !condition(); i++) SDL_Delay(10);
        return condition();
    }

    Temp_dir dir;
};

TEST_F(Sdl_sound, NothingOpensBeforeTheFirstPieceWhichSoundsUntilItIsStoppedAndAPartOfOneIsRefused) {
    if (Installed_soundfont().empty()) GTEST_SKIP() << "no soundfont installed";
    Sdl_audio audio;
    audio.stop_sound();
    audio.stop_music(1);
    audio.close_music(1);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(audio.open_music(2, dir / "cut.mid", true), MCIERR_INVALID_FILE);
    // asked for before the soundfont can have loaded: the piece waits for it
    ASSERT_EQ(audio.open_music(1, dir / "held.mid", true), 0u);
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    audio.play_music(1);
    ASSERT_TRUE(Within_a_minute([&] { return Loudest(0, Recorded()) > 1000; })) << "the piece never sounded";
    audio.stop_music(1);
    double stopped = Recorded();
    // what was mixed before the stop may still be on its way to the file: half a second on, silence
    ASSERT_TRUE(Within_a_minute([&] { return Recorded() > stopped + 1; }));
    EXPECT_EQ(Loudest(stopped + 0.5, stopped + 1), 0);
}

} // namespace

TEST(Sdl_midi_load, ASoundfontTheSynthesizerRefusesLeavesNoPieceWaiting) {
    // a RIFF "sfbk" form of the size it says, which passes the look at its header, with no soundfont in it
    Temp_dir dir;
    std::ofstream(dir / "bad.sf2", std::ios::binary) << std::string("RIFF\4\0\0\0sfbk", 12);
    Sdl_midi synth;
    synth.load(dir / "bad.sf2");
    for (int i = 0; i < 1000 && !synth.failed(); i++) SDL_Delay(10);
    EXPECT_TRUE(synth.failed());
}
