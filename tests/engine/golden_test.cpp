// Golden scripts: every case of tests/engine/golden/*.golden played headless in a fresh game folder,
// its boxes, state and audio calls compared with what the file states (golden/README.md).
#include "game_folder.h"
#include "replay/state_json.h"
#include "slots.h"

#include <fstream>
#include <map>

namespace {

struct Directive {
    std::string word, arg, bytes; // the word after '@', the rest of its line, and its section's bytes
};

struct Golden_case {
    std::string where, title; // file:line of the @case, and its title
    std::vector<Directive> directives;
};

// Text with its escapes as bytes; the runs between escapes converted to CP932 when cp932 is set.
std::string Unescape(const std::string& text, bool cp932) {
    std::string out, run;
    auto flush = [&] { out += cp932 ? Utf8_to_cp932(run.c_str()) : run, run.clear(); };
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            run += text[i];
            continue;
        }
        flush();
        char c = text[++i];
        if (c == 'x')
            out += (char)std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16), i += 2;
        else
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    flush();
    return out;
}

// A section's lines as bytes: trailing blank lines dropped, CR LF after each but one with a lone '\'.
std::string Section_bytes(Lines body) {
    while (!body.empty() && body.back().empty()) body.pop_back();
    std::string out;
    for (const std::string& l : body) {
        size_t slashes = 0;
        while (slashes < l.size() && l[l.size() - 1 - slashes] == '\\') slashes++;
        out += slashes % 2 ? Unescape(l.substr(0, l.size() - 1), true) : Unescape(l, true) + "\r\n";
    }
    return out;
}

// The cases of a file; directives before the first @case make a case without a title, which fails.
std::vector<Golden_case> Read_golden(const fs::path& path) {
    std::vector<Golden_case> cases;
    std::ifstream in(path);
    Lines body;
    Directive* section = nullptr;
    std::string line;
    for (int number = 1; std::getline(in, line); number++) {
        if (!line.starts_with('@')) {
            if (section) body.push_back(line);
            continue;
        }
        if (section) section->bytes = Section_bytes(std::exchange(body, {}));
        std::string word = line.substr(1, line.find(' ') - 1);
        std::string arg = line.substr(std::min(line.size(), word.size() + 2));
        if (word == "case" || cases.empty())
            cases.push_back(
                {path.filename().string() + ":" + std::to_string(number), word == "case" ? arg : "", {}});
        section = &cases.back().directives.emplace_back(Directive{word, arg, ""});
        if (word != "script" && word != "file" && word != "events") section = nullptr;
    }
    if (section) section->bytes = Section_bytes(body);
    return cases;
}

class Golden_run : public Script_test {
  public:
    explicit Golden_run(Golden_case c) : c(std::move(c)) {}

  protected:
    // State_json's line with the runner's own members before its closing brace; quit only at the end.
    std::string State_line(bool end) const {
        std::string json = State_json(game, headless->elapsed());
        int held = 0;
        for (Surface* s : {game.select_normal, game.select_hilite, game.menu_surface, game.fade_surface})
            held += s != nullptr;
        return json.substr(0, json.size() - 1) + ",\"boxes\":" + std::to_string(headless->boxes().size()) +
               ",\"calls\":" + std::to_string(headless->mci().size() + headless->sounds().size()) +
               ",\"task_surfaces\":" + std::to_string(held) +
               ",\"quit\":" + std::to_string(end && !headless->stopped_by_deadline()) + "}";
    }

    // The tokens (blank-separated) that are not whole members of the line: its braces count as commas.
    static std::string Missing(std::string line, const std::string& tokens) {
        std::ranges::replace(line, '{', ','), std::ranges::replace(line, '}', ',');
        std::istringstream in(tokens);
        std::string missing;
        for (std::string token; in >> token;)
            if (line.find("," + token + ",") == std::string::npos) missing += " " + token;
        return missing;
    }

    // The audio calls in order, as @mci writes them.
    Lines Calls() const {
        std::map<int, std::string> all;
        for (const Headless_mci& m : headless->mci())
            all[m.order] = Cp932_to_utf8(m.command.c_str()) + " = " + std::to_string(m.result) +
                           (m.reply.empty() ? "" : " " + m.reply);
        char flags[16];
        for (const Headless_sound& s : headless->sounds()) {
            std::snprintf(flags, sizeof flags, "%X", (unsigned)s.flags);
            all[s.order] = "wav " + Cp932_to_utf8(s.sound.c_str()) + " " + flags;
        }
        Lines out;
        for (const auto& [order, call] : all) out.push_back(call);
        return out;
    }

    fs::path Saves() const { return dir / "data/veltrane/saves" / Game_id(fs::current_path().string()); }

    // @slot N DATA: the file of tests/engine/data as slot N's, its game made this folder's, as a save
    // moved with its game folder would be.
    void Put_slot(const std::string& arg) {
        std::istringstream args(arg);
        int slot = -1;
        std::string name;
        ASSERT_TRUE(args >> slot >> name) << "@slot " << arg;
        std::ifstream in(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/data" / name, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::string id = Game_id(fs::current_path().string());
        if (bytes.size() >= 88) bytes.replace(24, 64, id + std::string(64 - id.size(), '\0'));
        fs::create_directories(Saves());
        std::ofstream(Saves() / (slot == 0 ? "quick.sav" : std::to_string(slot) + ".sav"), std::ios::binary)
            << bytes;
    }

    // The slots' files at the end, by name, in order.
    std::string Slot_files() const {
        std::vector<std::string> names;
        if (fs::is_directory(Saves()))
            for (const auto& entry : fs::directory_iterator(Saves()))
                names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        std::string out;
        for (const std::string& name : names) out += (out.empty() ? "" : " ") + name;
        return out;
    }

    void TestBody() override {
        SCOPED_TRACE(c.where + " " + c.title);
        ASSERT_FALSE(c.title.empty()) << "a case without a title, or a directive before the first @case";
        for (const char* folder : {"wav", "MIDI"})
            fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / folder, dir / folder);
        fs::remove("txt/config.tda");
        std::map<std::string, DWORD> n{{"until", 600000}, {"exit", 0}, {"fail_surface", 0}, {"fail_font", 0}};
        std::map<DWORD, std::string> seen; // the state line at each @at
        Lines boxes, calls;
        bool with_reader = false;
        for (const Directive& d : c.directives) {
            std::istringstream args(d.arg);
            DWORD ms = 0;
            if (d.word == "script" || d.word == "file")
                std::ofstream((d.word == "script" ? "txt/" : "") + d.arg, std::ios::binary) << d.bytes;
            else if (d.word == "events")
                Events(d.bytes);
            else if (d.word == "reader")
                with_reader = true;
            else if (d.word == "slot")
                Put_slot(d.arg);
            else if (d.word == "soundfont")
                headless->use_soundfont(d.arg);
            else if (d.word == "box" || d.word == "mci")
                (d.word == "box" ? boxes : calls).push_back(Unescape(d.arg, false));
            else if (d.word == "at" && args >> ms)
                headless->call_at(ms, [&, ms] { seen[ms] = State_line(false); });
            else if (std::string path; d.word == "remove" && args >> ms >> path)
                headless->call_at(ms, [path] { fs::remove(path); });
            else if (n.contains(d.word) ? !(args >> n[d.word])
                                        : d.word != "case" && d.word != "state" && d.word != "drawn" &&
                                              d.word != "blank" && d.word != "slots" && d.word != "notice")
                ADD_FAILURE() << "cannot read @" << d.word << " " << d.arg;
        }
        headless->call_at(0, [&] {
            headless->fail_surface((int)n["fail_surface"]);
            headless->fail_font((int)n["fail_font"]);
        });
        headless->stop_at(n["until"]);
        EXPECT_EQ(with_reader ? Main_play(&instance, Play_options{}, "veltrane")
                              : WinMain(&instance, nullptr, "", SW_SHOWNORMAL),
                  (int)n["exit"]);
        seen[INFINITE] = State_line(true);
        for (const Directive& d : c.directives) {
            std::istringstream args(d.arg);
            DWORD ms = INFINITE;
            int x = 0, y = 0, w = 0, h = 0;
            if (d.word == "state" || (d.word == "at" && args >> ms)) {
                std::string tokens(std::istreambuf_iterator<char>(args), {});
                EXPECT_EQ(Missing(seen[ms], tokens), "")
                    << "@" << d.word << " " << d.arg
                    << "\nthe state then: " << (seen[ms].empty() ? "none" : seen[ms]);
            } else if (d.word == "drawn" || d.word == "blank") {
                EXPECT_TRUE(args >> x >> y >> w >> h) << "@" << d.word << " " << d.arg;
                EXPECT_EQ(Ink(x, y, w, h) > 0, d.word == "drawn")
                    << "@" << d.word << " " << d.arg << ": BS against BG";
            } else if (d.word == "slots") {
                EXPECT_EQ(Slot_files(), d.arg) << "@slots";
            } else if (d.word == "notice") {
                EXPECT_EQ(Cp932_to_utf8(reader.notice_text.c_str()), d.arg) << "@notice";
            }
        }
        EXPECT_EQ(Boxes(), boxes);
        EXPECT_EQ(calls.empty() ? calls : Calls(), calls) << "the audio calls";
    }

    Golden_case c;
};

// One test a case, named after its file and number: stepper_3.
const bool registered = [] {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/golden"))
        if (entry.path().extension() == ".golden") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        int n = 0;
        for (const Golden_case& c : Read_golden(file)) {
            std::string name = file.stem().string() + "_" + std::to_string(++n);
            ::testing::RegisterTest("Golden", name.c_str(), nullptr, c.title.c_str(), file.c_str(), n,
                                    [c]() -> Game_folder_test* { return new Golden_run(c); });
        }
    }
    return true;
}();

} // namespace
