// The real backend's sound on SDL's disk audio driver: nothing opened before the first sound, and
// a MIDI piece heard from the process's one synthesizer until it is stopped.
#include "sdl/sdl_audio.h"
#include "sound/mixer.h"
#include "unit_support.h"

#include <cstring>
#include <iterator>

namespace {

// a piano C4 from the first tick for a second, then two seconds of rest
const char BEAT[] =
    "MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\21\0\300\0\0\220\74\144\207\100\200\74\0\217\0\377\57\0";

class Sdl_sound : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.ok());
        std::ofstream(dir / "beat.mid", std::ios::binary).write(BEAT, sizeof BEAT - 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir / "out.raw").c_str(), 1);
    }

    // The loudest sample recorded from second from to second to.
    int Loudest(double from, double to) {
        std::ifstream in(dir / "out.raw", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        int loudest = 0;
        for (size_t i = (size_t)(from * MIXER_RATE) * 4;
             i < (size_t)(to * MIXER_RATE) * 4 && i + 1 < bytes.size(); i += 2) {
            int16_t s;
            std::memcpy(&s, &bytes[i], 2);
            loudest = std::max(loudest, std::abs((int)s));
        }
        return loudest;
    }

    Temp_dir dir;
};

TEST_F(Sdl_sound, NothingOpensBeforeTheFirstPieceWhichSoundsUntilItIsStoppedAndAPartOfOneIsRefused) {
    if (Installed_soundfont().empty()) GTEST_SKIP() << "no soundfont installed";
    std::ofstream(dir / "cut.mid", std::ios::binary).write(BEAT, sizeof BEAT - 6);
    {
        Sdl_audio audio;
        audio.stop_sound();
        audio.stop_music(1);
        audio.close_music(1);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        EXPECT_EQ(audio.open_music(2, dir / "cut.mid", true), MCIERR_INVALID_FILE);
        // asked for before the soundfont can have loaded: the piece waits for it
        ASSERT_EQ(audio.open_music(1, dir / "beat.mid", true), 0u);
        EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        audio.play_music(1);
        SDL_Delay(600);
        audio.stop_music(1);
        SDL_Delay(600);
    }
    EXPECT_GT(Loudest(0, 0.5), 1000);
    // the note would sound to its second's end: after the stop's last buffers, nothing does
    EXPECT_EQ(Loudest(0.8, 1.1), 0);
}

} // namespace
