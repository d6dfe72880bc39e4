// The music devices behind mciSendString, their notices and error texts, the wave files PlaySound
// takes, and the length of MIDI files, on the headless backend with the demo's sounds.
#include "headless.h"
#include "midi_length.h"
#include "unit_support.h"

#include <cstring>
#include <sys/stat.h>

namespace {

std::string notices; // what reached the window procedure, as "result device", parted by ", "

LRESULT Record(Window*, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY)
        notices += (notices.empty() ? "" : ", ") + std::to_string(wParam) + " " + std::to_string(lParam);
    return 0;
}

} // namespace

class Music : public In_temp_dir {
  protected:
    void SetUp() override {
        fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI", "MIDI");
        std::ofstream("MIDI/text.mid") << "MThd, but no more";
        // a header that promises a track that is not there: a piece of no length
        std::ofstream("MIDI/none.mid", std::ios::binary) << std::string("MThd\0\0\0\6\0\1\0\1\1\xE0", 14);
        // the demo's theme with a chunk of its own that takes it past 16 MB, which no story's music needs
        std::ofstream("MIDI/big.mid", std::ios::binary)
            << Read("MIDI/theme.mid") << "Xtra\1\0\0\0" << std::string(1 << 24, '\0');
        // the demo's MP3 piece behind an ID3v2 tag of 10,000 bytes (say a cover picture), and as
        // what a renamed file of another kind or a file of junk would hold
        const std::string mp3 = Read("MIDI/evening.mp3");
        std::ofstream("MIDI/tagged.mp3", std::ios::binary)
            << std::string("ID3\4\0\0\0\0\x4E\x10", 10) << std::string(10000, '\0') << mp3;
        std::ofstream("MIDI/ogg.mp3", std::ios::binary)
            << std::string("OggS\0\2", 6) << std::string(22, '\0') << mp3;
        std::ofstream("MIDI/riff.mp3", std::ios::binary) << Wave(85, 1, 44100, 1, 0) << mp3;
        std::ofstream("MIDI/late.mp3", std::ios::binary) << std::string(4097, '\0') << mp3;
        std::ofstream("MIDI/lone.mp3", std::ios::binary) << mp3.substr(0, 208) << std::string(20000, 'x');
        headless = &Use_headless_backend();
        WndClass wc{0, Record, nullptr, Icon{nullptr, 0}, "music"};
        ASSERT_TRUE(RegisterClass(&wc));
        window = CreateWindow("music", "music", 0, 0, 0, 64, 64, nullptr);
    }
    void TearDown() override { Use_headless_backend(); }

    // Runs the loop for ms of virtual time; the notices delivered.
    std::string Run(DWORD ms) {
        notices.clear();
        for (DWORD i = 0; i <= ms; i++) {
            Msg msg;
            while (PeekMessage(&msg, PM_REMOVE)) DispatchMessage(&msg);
            if (i < ms) Sleep(1);
        }
        return notices;
    }

    Headless* headless = nullptr;
    Window* window = nullptr;
};

TEST_F(Music, CommandsTheirNoticesErrorTextsAndWaveFilesAsTheTableSays) {
    fs::create_directory("wav");
    ASSERT_EQ(mkfifo("wav/pipe.wav", 0600), 0);
    for (const Row& c : Table("unit/music.txt")) {
        SCOPED_TRACE(c.where);
        char got[257] = {};
        std::memset(got, 'x', 256);
        uint32_t w[5];
        if (c[0] == "no soundfont") {
            headless->use_soundfont("");
        } else if (c[0] == "window gone") {
            DestroyWindow(window);
        } else if (c[0] == "run") {
            EXPECT_EQ(Run(c.Int(1)), c[2]);
        } else if (c[0] == "send") {
            EXPECT_EQ(mciSendString(c[1].c_str(), got, c.Int(2), window), c.Int(3));
            EXPECT_EQ(std::string(got), c[4]);
        } else if (c[0] == "error") {
            EXPECT_EQ(mciGetErrorString(c.Int(1), got, c.Int(2)), c[3] == "1");
            EXPECT_EQ(Cp932_to_utf8(got), c[4]);
            EXPECT_EQ(std::string(got + c.Int(2)), std::string(256 - c.Int(2), 'x'))
                << "written past the room";
        } else {
            std::string bytes = c[2];
            if (std::istringstream(c[2]) >> w[0] >> w[1] >> w[2] >> w[3] >> w[4])
                bytes = Wave(w[0], w[1], w[2], w[3], w[4]);
            if (!bytes.empty()) std::ofstream("wav/" + c[1], std::ios::binary) << bytes;
            EXPECT_EQ(PlaySound((".\\wav\\" + c[1]).c_str(), nullptr, SND_FILENAME | SND_NODEFAULT),
                      c[3] == "1");
        }
    }
    EXPECT_FALSE(mciGetErrorString(0, nullptr, 10));
}

TEST(MidiLength, TempoMapsRunningStatusTimeCodeAndMalformedFiles) {
    for (const Row& c : Table("unit/midi_lengths.txt")) {
        std::vector<Bytes> tracks;
        for (size_t i = 3; i < c.size(); i++) tracks.push_back(Numbers(c[i]));
        Bytes raw = Numbers(c[3]);
        std::string bytes = c[2] == "raw" ? std::string(raw.begin(), raw.end()) : Smf(Numbers(c[2]), tracks);
        EXPECT_NEAR(Midi_seconds((const unsigned char*)bytes.data(), bytes.size()), std::stod(c[1]), 1e-9)
            << c.where << " " << c[0];
    }
    const std::string theme = Read(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI" / "theme.mid");
    EXPECT_NEAR(Midi_seconds((const unsigned char*)theme.data(), theme.size()), 24.0, 1e-9);
}
