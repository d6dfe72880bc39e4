// The reader's outlets from inside: the settings as the speech service is told them, auto mode held by
// a page's speech until the service tells its end (or SPEECH_HOLD_MOST at most), the text out's lines
// and the reading view's lines (the text out and the service on the wire: cli/text_out.txt, cli/speech.txt).
#include "game_folder.h"
#include "reading_view.h"
#include "settings.h"
#include "slots.h"
#include "speech.h"
#include "text_out.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <fstream>

namespace {

// The speech service as a loop turn sees it: a listening socket, one client, its commands logged and
// answered at once, its messages numbered from 1 and ended only when the test says.
class Stand_in_service {
  public:
    explicit Stand_in_service(const std::string& path) {
        listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        EXPECT_EQ(bind(listener, (const sockaddr*)&address, sizeof address), 0);
        EXPECT_EQ(listen(listener, 1), 0);
    }
    ~Stand_in_service() {
        if (client >= 0) close(client);
        close(listener);
    }
    void turn() {
        if (client < 0) client = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK);
        char bytes[4096];
        for (ssize_t n; client >= 0 && (n = read(client, bytes, sizeof bytes)) > 0;)
            in.append(bytes, (size_t)n);
        for (size_t end; (end = in.find("\r\n")) != std::string::npos;) {
            Take(in.substr(0, end));
            in.erase(0, end + 2);
        }
    }
    void end(int id) { Answer("702-" + std::to_string(id) + "\r\n702-1\r\n702 END"); }
    Lines log;

  private:
    // a client that has gone is answered no more
    void Answer(const std::string& text) {
        send(client, (text + "\r\n").data(), text.size() + 2, MSG_NOSIGNAL);
    }
    void Take(const std::string& line) {
        if (speaking) {
            if (line != ".") {
                message.push_back(line);
                return;
            }
            speaking = false;
            std::string text;
            for (const std::string& part : message) text += (text.empty() ? "" : "|") + part;
            message.clear();
            log.push_back("SPEAK " + text);
            return Answer("225-" + std::to_string(++messages) + "\r\n225 OK MESSAGE QUEUED");
        }
        speaking = line == "SPEAK";
        if (!speaking && line.rfind("SET SELF NOTIFICATION", 0) != 0 && line.rfind("SET SELF CLIENT", 0) != 0)
            log.push_back(line);
        Answer(speaking ? "230 OK RECEIVING DATA" : "200 OK");
    }
    int listener = -1, client = -1, messages = 0;
    bool speaking = false;
    std::string in;
    Lines message;
};

class Outlets_test : public Game_folder_test {};

} // namespace

TEST_F(Outlets_test, AutoModeWaitsForTheSpeechToEndOrAMinuteAtMost) {
    Stand_in_service service((dir / "speechd.sock").string());
    setenv("SPEECHD_ADDRESS", ("unix_socket:" + (dir / "speechd.sock").string()).c_str(), 1);
    Write_script(Cp("#set_text_wait 0\r\nあいう#wait\r\nえお#wait\r\n"));
    fs::create_directories(dir / "config/veltrane");
    std::ofstream(dir / "config/veltrane" / (Folder_game_id(fs::current_path().string()) + ".conf"))
        << "speech 1\nspeech_rate -30\nspeech_volume 50\nspeech_voice 4\n";
    Events("100 key A"); // auto mode: a wait of 1000 ms and 60 a character
    headless->on_turn([&] { service.turn(); });
    std::vector<std::tuple<int, int, size_t>> seen; // at each ms: the wait, the halt and the messages sent
    for (DWORD ms : {1500u, 2999u, 3100u, 62000u, 63200u})
        headless->call_at(ms, [&] { seen.emplace_back(game.wait_run, game.halt_run, service.log.size()); });
    headless->call_at(3000, [&] { service.end(1); });
    headless->stop_at(70000);
    Main_play(&instance, Play_options{}, "veltrane");
    service.turn();
    unsetenv("SPEECHD_ADDRESS");
    // past its delay the first wait is held by its speech, and ends once the service tells the end;
    // the second page's speech never ends, and its wait ends a minute after it began
    EXPECT_EQ(seen, (std::vector<std::tuple<int, int, size_t>>{
                        {1, 0, 5}, {1, 0, 5}, {1, 0, 6}, {1, 0, 6}, {0, 1, 6}}));
    EXPECT_EQ(service.log,
              (Lines{"SET SELF LANGUAGE ja", "SET SELF RATE -30", "SET SELF VOLUME 50",
                     "SET SELF VOICE_TYPE FEMALE2", "SPEAK あいう", "SPEAK えお", "CANCEL SELF", "QUIT"}));
}

TEST_F(Outlets_test, TextOutLinesAreUtf8WithBreaksTabsAndBackslashesEscaped) {
    auto line = [](Record_kind kind, std::vector<std::string> fields) {
        for (std::string& field : fields) field = Cp(field.c_str());
        return Text_out_line(Record{kind, fields});
    };
    // ソ is 0x83 0x5C in CP932: its second byte is no backslash
    EXPECT_EQ(line(Record_kind::PAGE, {"ソ\\a\tb\nc\r\nd\re"}), "page\tソ\\\\a\\tb\\nc\\nd\\ne\n");
    EXPECT_EQ(line(Record_kind::CHOICE, {"一", "", "三"}), "choice\t一\t\t三\n");
    EXPECT_EQ(line(Record_kind::CHOSE, {"3"}), "chose\t3\n");
    EXPECT_EQ(line(Record_kind::BOX, {"Load_Bmp()", "失敗\r\n"}), "box\tLoad_Bmp()\t失敗\\n\n");
    EXPECT_EQ(line(Record_kind::PAGE, {""}), "page\t\n");
}

TEST_F(Outlets_test, TheReadingViewBreaksLinesWhereTheyMeetItsWidthAndKeepsClosingMarks) {
    auto lines = [](const char* text, int width) {
        Lines out;
        // every character two units wide, as a full-width one is
        for (const std::string& line :
             Reading_lines(Cp(text), width, [](const std::string& s) { return (int)s.size(); }))
            out.push_back(Cp932_to_utf8(line.c_str()));
        return out;
    };
    EXPECT_EQ(lines("あいうえお", 6), (Lines{"あいう", "えお"}));
    EXPECT_EQ(lines("あいうえお", 10), (Lines{"あいうえお"}));
    EXPECT_EQ(lines("あい\nうえ", 100), (Lines{"あい", "うえ"}));
    EXPECT_EQ(lines("あいう。」え", 6), (Lines{"あいう。」", "え"}));
    EXPECT_EQ(lines("ab\n\nc", 1), (Lines{"a", "b", "", "c"}));
    EXPECT_EQ(lines("あいう", 1), (Lines{"あ", "い", "う"})); // a character wider than the line still goes
    EXPECT_EQ(lines("", 10), (Lines{""}));
}

TEST_F(Outlets_test, TheReadingViewLiesOverThePictureAndTheMenuCopiesThePageUnwrapped) {
    // a line long enough to meet the area's edge, then a line break of the script's
    std::string long_line(60, 'x');
    Write_script(Cp(("#set_text_wait 0\r\n" + long_line + ";あいう#wait\r\n").c_str()));
    // the view's panel in the picture's corner, the margin around it, and the picture beneath
    auto view = [&](const char* settings, const std::string& more_events) {
        Restart();
        fs::create_directories(dir / "config/veltrane");
        std::ofstream(dir / "config/veltrane" / (Folder_game_id(fs::current_path().string()) + ".conf"))
            << settings;
        headless->keep_client();
        Events("500 key V\n1500 key ESCAPE\n" + more_events);
        std::vector<uint32_t> picture, under_view;
        std::pair<uint32_t, uint32_t> seen;
        headless->call_at(500, [&] { picture = Frame(game.bs_surface); }); // as V comes
        headless->call_at(1000, [&] {
            under_view = Frame(game.bs_surface);
            seen = {At(&headless->client(), 30, 30), At(&headless->client(), 5, 5)};
        });
        headless->stop_at(3000);
        Main_play(&instance, Play_options{}, "veltrane");
        EXPECT_EQ(under_view, picture);
        return seen;
    };
    // the menu's eighth row copies the page, its lines as the script broke them
    auto [panel, margin] =
        view("", "2000 rdown 10 10\n2010 rup 10 10\n2100 key DOWN\n2110 key DOWN\n2120 key DOWN\n"
                 "2130 key DOWN\n2140 key DOWN\n2150 key DOWN\n2160 key DOWN\n2200 key RETURN\n");
    EXPECT_EQ(panel, 0x101020u);
    EXPECT_NE(margin, 0x101020u);
    EXPECT_EQ(headless->clipboard(), long_line + "\nあいう");
    EXPECT_EQ(Cp932_to_utf8(reader.notice_text.c_str()), "ページの文をコピーしました");
    // in high contrast, black to the window's edge
    auto [contrast_panel, contrast_margin] = view("high_contrast 1\n", "");
    EXPECT_EQ(contrast_panel, 0u);
    EXPECT_EQ(contrast_margin, 0u);
}

TEST_F(Outlets_test, TheSpeechAndContrastSettingsAreRememberedAndAnOlderFileGivesTheirDefaults) {
    reader.game_id = "outlets";
    Settings chosen;
    chosen.speech = chosen.high_contrast = true;
    chosen.speech_rate = -100;
    chosen.speech_volume = 30;
    chosen.speech_voice = SPEECH_VOICE_COUNT - 1;
    ASSERT_TRUE(Settings_write(chosen));
    Settings read = Settings_read();
    EXPECT_EQ(
        std::tuple(read.speech, read.high_contrast, read.speech_rate, read.speech_volume, read.speech_voice),
        std::tuple(true, true, -100, 30, SPEECH_VOICE_COUNT - 1));
    // a file of an earlier version, and one with values out of bounds
    for (const char* text :
         {"width 800\nheight 600\nmusic_volume 40\n",
          "speech 2\nspeech_rate -101\nspeech_volume 101\nspeech_voice 8\nhigh_contrast -1\n"}) {
        std::ofstream(Settings_path("outlets")) << text;
        read = Settings_read();
        EXPECT_EQ(std::tuple(read.speech, read.high_contrast, read.speech_rate, read.speech_volume,
                             read.speech_voice),
                  std::tuple(false, false, 0, 100, 0))
            << text;
    }
}
