// veltrane-lint on crafted game folders: each check with the file and line it reports, and clean
// scripts that must stay quiet (the bundled demo is checked clean in tests/cli/lint.txt). Most scenarios
// are data, in cases/*.txt; the files of bytes a script names are made here.
#include "../unit/unit_support.h"
#include "lint.h"
#include "script.h"

namespace {

class Lint_test : public In_temp_dir {
  protected:
    void SetUp() override {
        for (const char* sub : {"txt", "gdat", "wav", "MIDI"}) fs::create_directories(sub);
        // the pictures and sounds the scripts name, and the pictures the engine loads by name
        for (const char* file : {"gdat/a.bgh", "gdat/bg01.bgh"}) Write(file, Bmp(4, 3));
        for (const Fixed_picture& p : FIXED_PICTURES) Write(Folder_path(p.path), Bmp(p.width, p.height));
        for (const char* file : {"wav/a.wav", "wav/se.wav"}) Write(file, Wave(1, 1, 22050, 1, 8));
        for (const char* file : {"MIDI/a.mid", "MIDI/song.mid"}) Write(file, Midi(96));
        for (const char* file : {"MIDI/a.mp3", "MIDI/song.mp3"}) Write(file, Mp3());
    }

    // The demo's MP3 piece, a real one.
    static std::string Mp3() { return Read(fs::path(VELTRANE_SOURCE_DIR) / "demo" / "MIDI" / "evening.mp3"); }

    static std::string Bmp(int w, int h) { return Bmp_file(w, h, 24, Bytes((w * 3 + 3) / 4 * 4 * h)); }

    // One track that ends after ticks 96ths of a beat, at the default 120 beats a minute.
    static std::string Midi(uint8_t ticks) { return Smf({0, 0x60}, {{ticks, 0xFF, 0x2F, 0}}); }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Lints the folder with this txt/config.tda; the report.
    static std::string Lint(const std::string& config) {
        Write("txt/config.tda", config);
        return Lint_game().report;
    }

    // A line of a cases file as bytes: \r, \n, \\ and \xNN escaped, any other character CP932.
    static std::string Bytes_of(const std::string& text) {
        std::string out, run;
        for (size_t i = 0; i < text.size(); i++) {
            if (text[i] != '\\') {
                run += text[i];
                continue;
            }
            out += Utf8_to_cp932(run.c_str());
            run.clear();
            const char c = text[++i];
            if (c == 'x')
                out += (char)std::stoi(text.substr(i + 1, 2), nullptr, 16), i += 2;
            else
                out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        }
        return out + Utf8_to_cp932(run.c_str());
    }

    // Plays cases/NAME.txt: "file PATH BYTES" writes a file; "case WHAT" starts a case, "script BYTES"
    // is its txt/config.tda, and the lines after are its report, where a line that starts with a line
    // number is about txt/config.tda. Blank lines and those starting with '#' are skipped. The scripts
    // played, one after another.
    static std::string Run_cases(const std::string& name) {
        std::ifstream in(std::string(VELTRANE_SOURCE_DIR) + "/tests/lint/cases/" + name + ".txt");
        std::string line, what, script, played, expected;
        int cases = 0;
        auto check = [&] {
            if (what.empty()) return;
            EXPECT_EQ(Lint(script), expected) << what;
            played += script, cases++;
        };
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            const std::string word = line.substr(0, line.find(' ')),
                              rest = Bytes_of(line.substr(std::min(line.size(), word.size() + 1)));
            if (word == "file") {
                Write(rest.substr(0, rest.find(' ')), rest.substr(rest.find(' ') + 1));
            } else if (word == "case") {
                check();
                what = rest, script.clear(), expected.clear();
            } else if (word == "script") {
                script = rest;
            } else {
                expected +=
                    (std::isdigit((unsigned char)line[0]) ? "txt/config.tda:" : "") + Bytes_of(line) + "\n";
            }
        }
        check();
        EXPECT_GT(cases, 0) << name;
        return played;
    }
};

TEST_F(Lint_test, CommandWordsNumbersAndTheTextArea) { Run_cases("words"); }

TEST_F(Lint_test, LabelsJumpsAndScriptsReachedByFileChange) { Run_cases("labels"); }

TEST_F(Lint_test, PicturesAndSoundFiles) {
    Write("gdat/sunset.bgh", "\x89PNG\r\n\x1a\n" + std::string(64, '\0'));
    Write("gdat/cut.bgh", Bmp(8, 8).substr(0, 80));
    Write("wav/float.wav", Wave(3, 2, 22050, 8, 32));
    Write("wav/odd.wav", Wave(1, 1, 22050, 1, 12));
    Write("MIDI/blip.mid", Midi(0));
    Write("MIDI/cut.mid", Midi(96).substr(0, 20));
    Write("MIDI/big.mid", Midi(96) + "Xtra\1\0\0\0" + std::string(1 << 24, '\0'));
    Write("gdat/Harbor.bgh", Bmp(4, 3));
    Write("gdat/photo.bgh", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + std::string(64, '\0'));
    Write("gdat/ff.bgh", "\xFF\xD8");
    Write("MIDI/sync.mp3", std::string(100, '\0') + Mp3());
    Write("MIDI/tagged.mp3", std::string("ID3\3\0\0\0\0\x27\x10", 10) + std::string(5008, '\0') + Mp3());
    Write("MIDI/rain.mp3", std::string("OggS\0\2", 6) + std::string(22, '\0') + Mp3());
    Write("MIDI/lone.mp3", Mp3().substr(0, 208) + std::string(4096, 'x'));
    Write("MIDI/late.mp3", std::string(4097, '\0') + Mp3());
    Write("MIDI/wave.mp3", Wave(1, 1, 22050, 1, 8));
    Run_cases("media");
}

TEST_F(Lint_test, MusicPlayedWhileMusicPlays) { Run_cases("music"); }

TEST_F(Lint_test, BracesBytesSizeAndTheLastLine) {
    Run_cases("blocks");
    std::string big(65534, 'a');
    EXPECT_EQ(Lint(big), "") << "65,534 bytes fit";
    EXPECT_EQ(Lint(big + "\r\n#wait\r\n"),
              "txt/config.tda:1: error: the script is over 65,534 bytes: the engine cuts it here\n");
}

TEST_F(Lint_test, EveryCommandWithGoodArguments) {
    const std::string script = Run_cases("commands");
    // each of the dispatcher's words is in the script
    for (const Keyword& k : Keywords())
        EXPECT_TRUE(script.find("\n#" + std::string(k.name) + " ") != std::string::npos ||
                    script.find("\n#" + std::string(k.name) + "\r") != std::string::npos)
            << k.name;
}

// A command the table gives no shape would be read as story text by lint.
TEST(Tables, EveryCommandHasAShapeAndAHandler) {
    for (const Keyword& k : Keywords()) {
        EXPECT_NE(k.args[0], Arg::END) << k.name;
        EXPECT_NE(k.handler, nullptr) << k.name;
    }
}

TEST_F(Lint_test, ThePicturesTheEngineLoadsByName) {
    fs::remove("gdat/Parts.bgh");
    Write("gdat/back_black.bgh", Bmp(640, 479));
    Write("gdat/start.bgh", "BM");
    Run_cases("fixed");
}

TEST_F(Lint_test, NoFirstScript) {
    fs::remove_all("txt");
    Lint_result result = Lint_game();
    EXPECT_EQ(result.report, "txt/config.tda:1: error: the first script cannot be opened\n");
    EXPECT_EQ(result.errors, 1);
    fs::create_directory("txt");
    Write("txt/config.utf8.txt", "#wait\n");
    EXPECT_EQ(Lint_game().report,
              "txt/config.tda:1: error: the first script cannot be opened (txt/config.utf8.txt is "
              "UTF-8 text: convert it to Shift-JIS (CP932) with CR LF line ends, as txt/config.tda)\n");
}

} // namespace
