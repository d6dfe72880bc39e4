// The music devices behind mciSendString, their notices and error texts, the wave files PlaySound
// takes, and the length of MIDI files, on the headless backend with the demo's sounds.
#include "headless.h"
#include "midi_length.h"
#include "unit_support.h"

#include <cstring>
#include <sys/stat.h>

namespace {

std::vector<std::string> notices; // what reached the window procedure, as "result device"

LRESULT Record(Window*, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY) notices.push_back(std::to_string(wParam) + " " + std::to_string(lParam));
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
        std::ifstream theme("MIDI/theme.mid", std::ios::binary);
        std::string big((std::istreambuf_iterator<char>(theme)), {});
        std::ofstream("MIDI/big.mid", std::ios::binary)
            << big << "Xtra\1\0\0\0" << std::string(1 << 24, '\0');
        headless = &Use_headless_backend();
        WndClass wc{0, Record, nullptr, Icon{nullptr, 0}, "music"};
        ASSERT_TRUE(RegisterClass(&wc));
        window = CreateWindow("music", "music", 0, 0, 0, 64, 64, nullptr);
    }
    void TearDown() override { Use_headless_backend(); }

    // Runs the loop for ms of virtual time; the notices delivered.
    std::vector<std::string> Run(DWORD ms) {
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

TEST_F(Music, CommandStringsTheirResultsAndReplies) {
    // a command, the reply room, its result and its reply, one after another on the same devices; the
    // commands the music commands send, with their results, are in tests/engine/golden/audio.golden.
    // From the empty command on there is no soundfont: the device opens, but cannot play, and says why.
    const std::tuple<const char*, UINT, MCIERROR, std::string> commands[] = {
        {"open .\\MIDI\\none.mid type sequencer alias m", 255, MCIERR_INVALID_FILE, ""},
        {"open .\\MIDI type sequencer alias m", 255, MCIERR_FILE_NOT_FOUND, ""},
        {"open .\\MIDI\\text.mid type sequencer alias m", 255, MCIERR_INVALID_FILE, ""},
        {"open .\\MIDI\\theme.mid type mpegvideo alias m", 255, MCIERR_INVALID_FILE, ""},
        {"open .\\MIDI\\big.mid type sequencer alias m", 255, MCIERR_INVALID_FILE, ""},
        {"open .\\MIDI\\theme.mid type sequencer alias m", 255, 0, ""},
        {"open .\\MIDI\\theme.mid type sequencer alias m", 255, MCIERR_DUPLICATE_ALIAS, ""},
        {"capability m can play wait", 5, 0, "true"},
        {"capability m can play wait", 4, MCIERR_PARAM_OVERFLOW, ""},
        {"", 0, 0, ""},
        {"open .\\MIDI\\theme.mid type sequencer alias s", 16, 0, ""},
        {"play s notify", 16, MCIERR_SEQ_NOMIDIPRESENT, ""},
        {"close s", 16, 0, ""},
    };
    for (auto [command, room, result, reply] : commands) {
        if (!*command) {
            headless->use_soundfont("");
            continue;
        }
        char got[256];
        std::memset(got, 'x', sizeof got);
        EXPECT_EQ(mciSendString(command, got, room, window), result) << command;
        EXPECT_EQ(std::string(got), reply) << command;
    }
    EXPECT_EQ(Run(100), std::vector<std::string>{});
}

TEST_F(Music, ThePieceTellsItsEndAfterItsLengthAndAPlayCutShortTellsNothing) {
    ASSERT_EQ(mciSendString("open .\\MIDI\\theme.mid type sequencer alias a", nullptr, 0, nullptr), 0u);
    ASSERT_EQ(mciSendString("open .\\MIDI\\evening.mp3 type mpegvideo alias b", nullptr, 0, nullptr), 0u);
    mciSendString("play a notify", nullptr, 0, window);
    EXPECT_EQ(Run(23999), std::vector<std::string>{});
    EXPECT_EQ(Run(1), std::vector<std::string>{"1 1"}); // 24 s: ended, device 1
    // a play cut short by a new play, a stop or a close tells nothing: only a piece's end is told
    mciSendString("play b notify", nullptr, 0, window);
    mciSendString("play b notify", nullptr, 0, window);
    mciSendString("stop b", nullptr, 0, nullptr);
    mciSendString("play b", nullptr, 0, window); // no notice asked for
    EXPECT_EQ(Run(20000), std::vector<std::string>{});
    mciSendString("play a notify", nullptr, 0, window);
    mciSendString("close a", nullptr, 0, nullptr);
    mciSendString("play b notify", nullptr, 0, window);
    EXPECT_EQ(Run(15999), std::vector<std::string>{});
    EXPECT_EQ(Run(1), std::vector<std::string>{"1 2"});
    // a notice for a window that is gone is dropped
    mciSendString("play b notify", nullptr, 0, window);
    DestroyWindow(window);
    EXPECT_EQ(Run(17000), std::vector<std::string>{});
}

TEST_F(Music, ErrorTextsAreCutWholeToTheirRoom) {
    char text[256];
    EXPECT_TRUE(mciGetErrorString(MCIERR_INVALID_DEVICE_NAME, text, 255));
    EXPECT_EQ(Cp932_to_utf8(text), "指定したデバイスは開かれていないか、認識できません。");
    char small[6];
    // "指定し" takes 6 bytes: in 6 bytes of room two characters fit with the 0; in 1, nothing
    const std::tuple<MCIERROR, UINT, bool, std::string> cut[] = {
        {MCIERR_INVALID_DEVICE_NAME, 6, true, "指定"},
        {MCIERR_INVALID_DEVICE_NAME, 5, true, "指定"},
        {MCIERR_INVALID_DEVICE_NAME, 4, true, "指"},
        {MCIERR_INVALID_DEVICE_NAME, 1, true, ""},
        {258, 6, false, ""},
        {MCIERR_SEQ_NOMIDIPRESENT, 6, true, "MIDI "},
    };
    for (auto [code, room, known, text] : cut) {
        EXPECT_EQ(mciGetErrorString(code, small, room), known) << code << " " << room;
        EXPECT_EQ(Cp932_to_utf8(small), text) << code << " " << room;
    }
    EXPECT_FALSE(mciGetErrorString(0, nullptr, 10));
}

TEST_F(Music, OnlyAWaveFileOfAPlayableFormatPlays) {
    // coding, channels, rate, frame size, bits; a pipe and a cut header are no sound either
    const std::pair<const char*, std::string> files[] = {
        {"ok.wav", Wave(1, 2, 22050, 4, 16)},    {"slow.wav", Wave(1, 1, 1, 2, 16)}, // one sample a second
        {"mute.wav", Wave(1, 0, 22050, 2, 16)},  {"frame.wav", Wave(1, 2, 22050, 2, 16)}, // frame too small
        {"mp3.wav", Wave(0x55, 2, 44100, 1, 0)}, {"text.wav", "RIFF, but no more"},       {"pipe.wav", ""}};
    fs::create_directory("wav");
    ASSERT_EQ(mkfifo("wav/pipe.wav", 0600), 0);
    for (auto [name, bytes] : files) {
        if (!bytes.empty()) std::ofstream(std::string("wav/") + name, std::ios::binary) << bytes;
        EXPECT_EQ(PlaySound((std::string(".\\wav\\") + name).c_str(), nullptr, SND_FILENAME | SND_NODEFAULT),
                  std::string(name) == "ok.wav")
            << name;
    }
}

TEST(MidiLength, TempoMapsRunningStatusTimeCodeAndMalformedFiles) {
    // 480 ticks a beat; a note of 960 ticks (running status for its end) at the default 0.5 s a beat
    const Bytes notes{0x00, 0x90, 60, 100, 0x87, 0x40, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
    // tempo 1 s a beat from tick 480 (in another track), a sysex and a meta text on the way
    const Bytes tempo{0x83, 0x60, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40, 0x00, 0xF0, 2,   0x7E,
                      0xF7, 0x00, 0xFF, 0x01, 2, 'h',  'i',  0x00, 0xFF, 0x2F, 0x00};
    const Bytes long_end{0x00, 0xC0, 5, 0x8F, 0x00, 0xFF, 0x2F, 0x00}; // a program change, end at 1920
    const std::tuple<const char*, std::string, double> cases[] = {
        {"one note", Smf({1, 0xE0}, {notes}), 1.0},
        {"tempo in another track", Smf({1, 0xE0}, {tempo, notes}), 1.5},
        {"the longest track", Smf({1, 0xE0}, {notes, long_end}), 2.0},
        {"25 frames of 40 ticks", Smf({0xE7, 40}, {long_end}), 1.92},
        {"not MIDI", std::string("RIFF\0\0\0\6\0\0\0\1\0\1", 14), -1},
        {"no tracks", Smf({1, 0xE0}, {}), -1},
        {"division 0", Smf({0, 0}, {notes}), -1},
        {"data without a status", Smf({1, 0xE0}, {Bytes{0x00, 60, 100}}), -1},
        {"a number of five bytes", Smf({1, 0xE0}, {Bytes{0x80, 0x80, 0x80, 0x80, 0x00}}), -1},
        {"a cut header", Smf({}, {}).substr(0, 10), -1},
        {"a length past the end", Smf({1, 0xE0}, {Bytes{0x00, 0xFF, 0x01, 0x7F, 'x'}}), -1},
        {"only an end mark", Smf({1, 0xE0}, {Bytes{0x00, 0xFF, 0x2F, 0x00}}), 0},
        {"a track promised, none there", Smf({1, 0xE0}, {Bytes{}}).substr(0, 14), 0},
        {"tempo 0", Smf({1, 0xE0}, {Bytes{0x00, 0xFF, 0x51, 3, 0, 0, 0, 0x87, 0x40, 0xFF, 0x2F, 0x00}}), 0},
    };
    for (const auto& [name, bytes, seconds] : cases)
        EXPECT_NEAR(Midi_seconds((const unsigned char*)bytes.data(), bytes.size()), seconds, 1e-9) << name;

    std::ifstream in(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI" / "theme.mid", std::ios::binary);
    std::string theme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NEAR(Midi_seconds((const unsigned char*)theme.data(), theme.size()), 24.0, 1e-9);
}
