// veltrane-lint on crafted game folders: each check with the file and line it reports, and clean
// scripts that must stay quiet (the bundled demo is checked clean in lint_cli_test.sh).
#include "../unit/unit_support.h"
#include "lint.h"
#include "script.h"

namespace {

using Case = std::tuple<const char*, std::string, std::vector<std::string>>; // what, txt/config.tda, report

class Lint_test : public In_temp_dir {
  protected:
    void SetUp() override {
        In_temp_dir::SetUp();
        for (const char* sub : {"txt", "gdat", "wav", "MIDI"}) fs::create_directories(sub);
        // the pictures and sounds the scripts name, and the pictures the engine loads by name
        for (const char* file : {"gdat/a.bgh", "gdat/bg01.bgh"}) Write(file, Bmp(4, 3));
        for (const Fixed_picture& p : FIXED_PICTURES) Write(Folder_path(p.path), Bmp(p.width, p.height));
        for (const char* file : {"wav/a.wav", "wav/se.wav"}) Write(file, Wave(1, 1, 22050, 1, 8));
        for (const char* file : {"MIDI/a.mid", "MIDI/song.mid"}) Write(file, Midi(96));
        for (const char* file : {"MIDI/a.mp3", "MIDI/song.mp3"})
            Write(file, "ID3\x04" + std::string(6, '\0'));
    }

    static std::string Bmp(int w, int h) { return Bmp_file(w, h, 24, Bytes((w * 3 + 3) / 4 * 4 * h)); }

    // One track that ends after ticks 96ths of a beat, at the default 120 beats a minute.
    static std::string Midi(uint8_t ticks) { return Smf({0, 0x60}, {{ticks, 0xFF, 0x2F, 0}}); }

    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Lints the folder with this txt/config.tda; the report's lines.
    static std::vector<std::string> Lint(const std::string& config) {
        Write("txt/config.tda", config);
        Lint_result result = Lint_game();
        std::vector<std::string> lines;
        size_t at = 0;
        for (size_t nl; (nl = result.report.find('\n', at)) != std::string::npos; at = nl + 1)
            lines.push_back(result.report.substr(at, nl - at));
        EXPECT_EQ(at, result.report.size()) << "the report ends with a line feed";
        return lines;
    }

    // Lints the folder with each case's txt/config.tda in turn; an expected line that starts with a
    // line number is about txt/config.tda.
    static void Run_cases(const std::vector<Case>& cases) {
        for (auto [what, config, expected] : cases) {
            for (std::string& line : expected)
                if (std::isdigit((unsigned char)line[0])) line = "txt/config.tda:" + line;
            EXPECT_EQ(Lint(config), expected) << what;
        }
    }

    static std::string Cp(const char* utf8) { return Utf8_to_cp932(utf8); }
};

TEST_F(Lint_test, CommandWordsNumbersAndTheTextArea) {
    Write("txt/b.tda",
          "*b:\r\n#set_text_area 0,0,10,10\r\n#set_font_size 10\r\n#set_text_area 0,0,39,100\r\n");
    Run_cases({
        {"run on",
         "#delay,100\r\n",
         {"1: error: unknown command #delay,100 (put a blank or a line end after #delay)"}},
        {"far from any", "#frobnicate\r\n", {"1: error: unknown command #frobnicate"}},
        {"no word", "# wait\r\n", {"1: error: '#' without a command word"}},
        {"comments hold anything", "## #dealy {\r\n#wait ##dealy\r\n", {"1: error: '{' is never closed"}},
        {"number run into a brace",
         "#if_flag 3{\r\n/\r\n}\r\n",
         {"1: error: #if_flag: '3{' is not a decimal number", "1: error: #if_flag: no '{' follows"}},
        {"flags 0 and 255 pass", "#flag_on 0\r\n#flag_off 255\r\n#disp_flag 7\r\n", {}},
        {"flags outside",
         "#flag_on 256\r\n#flag_off -1\r\n#disp_flag 999\r\n#if_flag 300 {\r\n/\r\n}\r\n",
         {"1: error: #flag_on: flag 256 is outside 0 to 255",
          "2: error: #flag_off: flag -1 is outside 0 to 255",
          "3: error: #disp_flag: flag 999 is outside 0 to 255",
          "4: error: #if_flag: flag 300 is outside 0 to 255"}},
        {"colours",
         "#set_text_color 0,0,0,255,255,255\r\n#set_text_color 1, 2, -3, 4, 5,\r\n256\r\n",
         {"2: error: #set_text_color: colour -3 is outside 0 to 255"}},
        {"text wait",
         "#set_text_wait 0\r\n#set_text_wait 5000\r\n#set_text_wait 5001\r\n#set_text_wait -1\r\n",
         {"3: error: #set_text_wait: wait 5001 is outside 0 to 5000",
          "4: error: #set_text_wait: wait -1 is outside 0 to 5000"}},
        {"opacity and sound mode",
         "#alpha_copy BS 0,0 BG 0,0 640,480 101\r\n#play_wav 2, a.wav\r\n",
         {"1: warning: #alpha_copy: opacity 101% is outside 0 to 100 and wraps",
          "2: warning: #play_wav: mode 2 is neither 0 (once) nor 1 (loop)"}},
        {"start values: 80 wide and 20 high pass",
         "#set_text_area 20, 20, 100, 40\r\n#set_text_area 20,20,99,460\r\n#set_text_area 20,20,620,39\r\n",
         {"2: error: #set_text_area: the area is 79 wide, too narrow for font size 20 (80 at least)",
          "3: error: #set_text_area: the area is 19 high, too low for font size 20"}},
        {"another file: unknown until its own set_font_size",
         "#file_change b.tda *b:\r\n",
         {"txt/b.tda:4: error: #set_text_area: the area is 39 wide, too narrow for font size 10 (40 at "
          "least)"}},
    });
}

TEST_F(Lint_test, LabelsJumpsAndScriptsReachedByFileChange) {
    std::string long_label = "*" + std::string(40, 'x');
    Write("txt/Two.tda", "*two\r\n#file_change three.tda,*three\r\n#jump *one\r\n");
    Write("txt/three.tda", "#file_change config.tda *one\r\n*three\r\n#dealy\r\n");
    Write("txt/" + Cp("章.tda"), "*x:\r\n");
    Write("txt/Four.tda", "*four\r\n");
    Write("txt/never.tda", "#dealy\r\n");
    Run_cases({
        {"the colon slipped",
         "#jump *a\r\n#jump *b:\r\n*a:\r\n*b\r\n#jump *c\r\n",
         {"1: error: #jump: label *a is not in txt/config.tda (did you mean *a:?)",
          "2: error: #jump: label *b: is not in txt/config.tda (did you mean *b?)",
          "5: error: #jump: label *c is not in txt/config.tda"}},
        {"the colon slipped in another script",
         "#file_change " + Cp("章.tda") + " *x\r\n#file_change four.tda *four:\r\n",
         {"1: error: #file_change: label *x is not in txt/" + Cp("章.tda") + " (did you mean *x:?)",
          "2: error: #file_change: label *four: is not in txt/Four.tda (did you mean *four?)"}},
        {"no star",
         "#jump a\r\n*a\r\n",
         {"1: error: #jump: label a is not in txt/config.tda (a target starts with '*')"}},
        {"target cut at a comma",
         "#jump *a,b\r\n*a,b\r\n",
         {"1: error: #jump: label *a is not in txt/config.tda (the target ends at the comma)",
          "2: warning: label *a,b holds a comma: no jump target can match it"}},
        {"longer than 32 bytes",
         "#jump " + long_label + "\r\n#jump " + long_label.substr(0, 32) + "\r\n" + long_label + "\r\n",
         {"1: error: #jump: label " + long_label +
              " is not in txt/config.tda (a label matches on its first 32 bytes only)",
          "2: warning: #jump: the label line of " + long_label.substr(0, 32) +
              " has no ':' after it, so its text is typed",
          "3: warning: label " + long_label.substr(0, 32) +
              "... is longer than 32 bytes: only its first 32 count"}},
        {"exactly 32 bytes",
         long_label.substr(0, 31) + ":\r\n#jump " + long_label.substr(0, 31) + ":\r\n",
         {}},
        {"twice",
         "*a\r\n*b\r\n  *a\r\n",
         {"3: warning: label *a is already at line 1: jumps always go there"}},
        {"a chain, each file once, in the order reached",
         "*one\r\n#file_change two.tda *two\r\n",
         {"2: warning: #file_change: the label line of *two has no ':' after it, so its text is typed",
          "txt/Two.tda:2: warning: #file_change: the label line of *three has no ':' after it, so its text "
          "is typed",
          "txt/Two.tda:3: error: #jump: label *one is not in txt/Two.tda",
          "txt/three.tda:1: warning: #file_change: the label line of *one has no ':' after it, so its text "
          "is typed",
          "txt/three.tda:3: error: unknown command #dealy (did you mean #delay?)"}},
        {"missing file and label",
         "#file_change none.tda *x\r\n#file_change four.tda *five\r\n",
         {"1: error: #file_change: txt/none.tda not found",
          "2: error: #file_change: label *five is not in txt/Four.tda"}},
        {"label too long",
         "#file_change four.tda *" + std::string(33, 'y') + "\r\n",
         {"1: error: #file_change: label *" + std::string(33, 'y') +
          " can never match (a label matches on its first 32 bytes only)"}},
    });
}

TEST_F(Lint_test, PicturesAndSoundFiles) {
    Write("gdat/sunset.bgh", "\x89PNG\r\n\x1a\n" + std::string(64, '\0'));
    Write("gdat/cut.bgh", Bmp(8, 8).substr(0, 80));
    Write("wav/float.wav", Wave(3, 2, 22050, 8, 32));
    Write("wav/odd.wav", Wave(1, 1, 22050, 1, 12));
    Write("MIDI/blip.mid", Midi(0));
    Write("MIDI/cut.mid", Midi(96).substr(0, 20));
    Write("MIDI/big.mid", Midi(96) + "Xtra\1\0\0\0" + std::string(1 << 24, '\0'));
    Write("MIDI/sync.mp3", std::string(100, '\0') + "\xFF\xFB\x90" + std::string(1, '\0'));
    Write("MIDI/wave.mp3", Wave(1, 1, 22050, 1, 8));
    Run_cases({
        {"found, letter case and backslash aside",
         "#g_load BG BG01.BGH\r\n#g_load BS ..\\gdat\\bg01.bgh\r\n#play_wav 0,se.wav\r\n#play_wav 1 "
         "SE.WAV\r\n#play_midi song.mid\r\n#play_mp3 song.mp3\r\n",
         {}},
        {"missing",
         "#g_load BG nope.bgh\r\n#play_wav 0 nope.wav\r\n",
         {"1: error: #g_load: gdat/nope.bgh not found", "2: error: #play_wav: wav/nope.wav not found"}},
        {"a folder is no file", "#g_load BG ..\\txt\r\n", {"1: error: #g_load: gdat/..\\txt not found"}},
        {"pictures the loader refuses, each reported where it is named",
         "#g_load BG sunset.bgh\r\n#g_load BS cut.bgh\r\n#g_load PT sunset.bgh\r\n#g_load BG a.bgh\r\n",
         {"1: error: #g_load: gdat/sunset.bgh is not a picture the engine can load (a BMP file)",
          "2: error: #g_load: gdat/cut.bgh is not a picture the engine can load (a BMP file)",
          "3: error: #g_load: gdat/sunset.bgh is not a picture the engine can load (a BMP file)"}},
        {"sounds the engine plays", "#play_wav 0 float.wav\r\n#play_mp3 sync.mp3\r\n", {}},
        {"sounds the engine refuses",
         "#play_wav 0 odd.wav\r\n#play_midi blip.mid\r\n#play_midi cut.mid\r\n#play_mp3 wave.mp3\r\n"
         "#play_wav 0 ODD.WAV\r\n#play_midi big.mid\r\n",
         {"1: error: #play_wav: wav/odd.wav is not a wave file the engine can play (a RIFF WAVE file of PCM, "
          "float, A-law, mu-law or ADPCM samples)",
          "2: error: #play_midi: MIDI/blip.mid plays for under 0.05 seconds: the engine refuses it",
          "3: error: #play_midi: MIDI/cut.mid is not a standard MIDI file the engine can read whole",
          "4: error: #play_mp3: MIDI/wave.mp3 has no MP3 frame header in its first 4 KB",
          "5: error: #play_wav: wav/ODD.WAV is not a wave file the engine can play (a RIFF WAVE file of PCM, "
          "float, A-law, mu-law or ADPCM samples)",
          "6: error: #play_midi: MIDI/big.mid is larger than 16 MB: the engine refuses it"}},
        {"surfaces",
         "#g_load bg bg01.bgh\r\n#g_copy BS 0,0 XX 0,0 1,1\r\n#alpha_copy YY 0 0 PT 0 0 1 1 50\r\n",
         {"1: error: #g_load: unknown surface bg (BS, BG or PT)",
          "2: error: #g_copy: unknown surface XX (BS, BG or PT)",
          "3: error: #alpha_copy: unknown surface YY (BS, BG or PT)"}},
        {"effects",
         "#g_change CURTAIN\r\n#g_change STRETCH_Y\r\n#g_change SPRAED\r\n#g_change FADE\r\n#g_change\r\n",
         {"3: error: #g_change: unknown effect SPRAED (did you mean SPREAD?)",
          "4: error: #g_change: unknown effect FADE (CURTAIN, SPREAD, STRETCH_X or STRETCH_Y)",
          "5: error: #g_change: the effect is missing (a word cannot go on the next line)"}},
    });
}

TEST_F(Lint_test, BracesBytesSizeAndTheLastLine) {
    Write("txt/ch2.utf8.txt", "*a\r\n");
    std::string big(65534, 'a');
    Run_cases({
        {"nested blocks", "#if_flag 1 {\r\n#if_flag 2 {\r\na\r\n/\r\n}\r\n/\r\n}\r\n", {}},
        {"if_flag without its slash",
         "#if_flag 1 {\r\na\r\n}\r\n/\r\n",
         {"1: error: #if_flag: the block has no '/' between its two branches",
          "4: error: '/' outside any block"}},
        {"the slash of a nested block does not count",
         "#if_flag 1\r\n{\r\n#if_flag 2 {\r\n/\r\n}\r\n}\r\n",
         {"2: error: #if_flag: the block has no '/' between its two branches"}},
        {"select3", "#select3 {\r\n\r\n a/b\r\nb\r\nc\r\n/x\r\n/y\r\n/z}\r\n", {}},
        {"select3 short of slashes",
         "#select3 {\r\na/b\r\nb\r\nc\r\n/x\r\n/y}\r\n",
         {"1: error: #select3: the block has 2 of the 3 '/' that open its branches"}},
        {"select3 short of choices",
         "#select3 {\r\na\r\nb\r\n",
         {"1: error: '{' is never closed", "4: error: #select3: choice 3 is missing"}},
        {"unbalanced",
         "}\r\n{\r\n{\r\n}\r\n",
         {"1: error: '}' closes no block", "2: error: '{' is never closed"}},
        {"braces after a two-byte character do not count",
         Cp("あ") + "{\r\n" + Cp("い") + "}\r\n" + Cp("＋") + "\r\n",
         {}},
        {"invalid CP932, one report a line",
         "ok\r\nx\x80y\x85\x40\r\n\xFD\r\n",
         {"2: error: bytes 0x80 0x79 are not valid CP932", "3: error: bytes 0xFD 0x0D are not valid CP932"}},
        {"UTF-8 text, one report",
         "ok\r\n" + std::string("第一章\nだ\n\xEF\xBD\xB1\n"),
         {"2: error: txt/config.tda is UTF-8 text: convert it to Shift-JIS (CP932) with CR LF line ends"}},
        {"CP932 that is no UTF-8 is left to the checks of each line",
         Cp("第一章") + "\r\n\x80\r\n",
         {"2: error: bytes 0x80 0x0D are not valid CP932"}},
        {"missing beside its UTF-8 text",
         "#file_change ch2.tda *a\r\n#file_change ch3.tda *a\r\n",
         {"1: error: #file_change: txt/ch2.tda not found (txt/ch2.utf8.txt is UTF-8 text: convert it to "
          "Shift-JIS (CP932) with CR LF line ends, as txt/ch2.tda)",
          "2: error: #file_change: txt/ch3.tda not found"}},
        {"LF-only line ends",
         "a\r\nb\nc\nd\r\n",
         {"2: error: line ends with LF only (2 in this file): comments and choice lines need CR LF"}},
        {"the end mark ends the script", "a\r\n\xFF#dealy\r\n", {}},
        {"65,534 bytes fit", big, {}},
        {"one more is cut",
         big + "\r\n#wait\r\n",
         {"1: error: the script is over 65,534 bytes: the engine cuts it here"}},
        {"command word",
         "x\r\n#wait",
         {"2: error: #wait runs into the end of the script: end its line with CR LF"}},
        {"number",
         "#delay 100",
         {"1: error: #delay: the number runs into the end of the script: end its line with CR LF"}},
        {"word",
         "#g_load BG a.bgh",
         {"1: error: #g_load: the file name runs into the end of the script: end its line with CR LF"}},
        {"nothing left to read",
         "x\r\n#set_text_wait\r\n",
         {"3: error: #set_text_wait: the number is missing (the script ends)"}},
    });
}

TEST_F(Lint_test, EveryCommandWithGoodArguments) {
    std::string script =
        "*top:\r\n#delay 100\r\n#wait\r\n#w\r\n#halt\r\n#page\r\n#g_load BG a.bgh\r\n"
        "#g_copy BS 0,0 BG 0,0 640,480\r\n#g_change SPREAD\r\n#flag_on 1\r\n#flag_off 1\r\n"
        "#disp_flag 1\r\n#if_flag 1 {\r\n/\r\n}\r\n#jump *top:\r\n#select3 {\r\na\r\nb\r\nc\r\n"
        "/\r\n/\r\n/}\r\n#play_wav 0 a.wav\r\n#stop_wav\r\n#play_midi a.mid\r\n#stop_midi\r\n"
        "#play_mp3 a.mp3\r\n#stop_mp3\r\n#set_font_size 24\r\n#set_text_area 10,10,630,470\r\n"
        "#set_text_wait 30\r\n#set_text_color 255,255,255,0,0,0\r\n#fade_out\r\n#fade_in\r\n"
        "#alpha_copy BS 0,0 BG 0,0 640,480 50\r\n#start_menu 220, 250\r\n#file_change config.tda *top:\r\n";
    EXPECT_EQ(Lint(script), std::vector<std::string>{});
    // each of the dispatcher's words is in the script above
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
    // start.bgh only counts for a story with a start menu
    Run_cases({{"missing, of another size, not loadable",
                "#start_menu 0,0\r\n",
                {"1: error: gdat/Parts.bgh not found: the engine loads it, a picture of 75 x 25",
                 "1: error: gdat/back_black.bgh is 640 x 479: the engine needs 640 x 480",
                 "1: error: gdat/start.bgh is not a picture the engine can load (a BMP file of 600 x 200)"}},
               {"no start menu",
                "#wait\r\n",
                {"1: error: gdat/Parts.bgh not found: the engine loads it, a picture of 75 x 25",
                 "1: error: gdat/back_black.bgh is 640 x 479: the engine needs 640 x 480"}}});
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
