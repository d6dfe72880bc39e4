// Golden scripts: every case of tests/engine/golden/*.golden played headless in a fresh game folder,
// its boxes, state and audio calls compared with what the file states (more in golden/README.md).
//   @case TITLE                  a fresh folder (the demo's gdat/ wav/ MIDI/, an empty txt/) and run
//   @script NAME, @file PATH     the lines below, up to the next '@' line, as txt/NAME or PATH: UTF-8
//                                in CP932, each line ended by CR LF unless it ends in a lone '\'
//   @events                      the lines below in veltrane-replay's event syntax
//   @fail_surface N, @fail_font N, @soundfont PATH   given to the headless backend at the first loop
//                                turn, once start-up has made its own surfaces and fonts
//   @until MS, @exit N           the run's length (600000) and WinMain's code (0)
//   @box CAPTION|TEXT            each box in order; no @box line: no box at all
//   @state TOKENS, @at MS TOKENS the state line at the end, or at the first loop turn at or after MS,
//                                holds each token ("cur":14) as a whole member
//   @drawn X Y W H, @blank X Y W H   at the end BS differs from BG somewhere in the rectangle, or nowhere
//   @mci CALL                    each audio call in order: "COMMAND = RESULT [REPLY]" or "wav NAME FLAGS"
// Sections and directives read \r \n \t \xNN \\ as the bytes they name; other lines are comments.
// The state line is State_json's with "boxes", "task_surfaces" and "quit" added.
#include "game_folder.h"
#include "replay/state_json.h"

#include <array>
#include <map>

namespace {

struct Golden_case {
    std::string where, title; // file:line of the @case, and its title ("" for a file that cannot be read)
    std::vector<std::pair<std::string, std::string>> files;
    std::string events, soundfont;
    std::map<std::string, DWORD> numbers{
        {"until", 600000}, {"exit", 0}, {"fail_surface", 0}, {"fail_font", 0}};
    Lines boxes, calls;
    std::vector<std::pair<DWORD, std::string>> states; // ms (INFINITE: the end) and tokens
    std::vector<std::pair<std::array<int, 4>, bool>> inks;
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
            out += (char)std::stoi(text.substr(i + 1, 2), nullptr, 16), i += 2;
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

std::vector<Golden_case> Read_golden(const fs::path& path) {
    std::vector<Golden_case> cases;
    std::ifstream in(path);
    std::string line, *section = nullptr;
    Lines body;
    for (int number = 1; std::getline(in, line) || section; number++) {
        if (section && !in) line = "@";
        if (section && !line.starts_with('@')) body.push_back(line);
        if (!line.starts_with('@')) continue;
        if (section) *section = Section_bytes(std::exchange(body, {}));
        section = nullptr;
        if (!in) break;
        std::string word = line.substr(1, line.find(' ') - 1);
        // state tokens are JSON as the state line writes it, with JSON's own escapes
        std::string json = line.substr(std::min(line.size(), word.size() + 2)), rest = Unescape(json, false);
        if (word == "case" && rest.empty())
            throw std::runtime_error(path.string() + ": a case without a title");
        if (word == "case")
            cases.emplace_back().where = path.filename().string() + ":" + std::to_string(number);
        if (word == "case") cases.back().title = rest;
        if (cases.empty()) throw std::runtime_error(path.string() + ": a directive before the first @case");
        Golden_case& c = cases.back();
        std::istringstream args(rest);
        std::array<int, 4> rect{};
        DWORD ms = 0;
        if (word == "script" || word == "file")
            section = &c.files.emplace_back((word == "script" ? "txt/" : "") + rest, "").second;
        else if (word == "events")
            section = &c.events;
        else if (word == "box")
            c.boxes.push_back(rest);
        else if (word == "mci")
            c.calls.push_back(rest);
        else if (word == "soundfont")
            c.soundfont = rest;
        else if (word == "state")
            c.states.emplace_back(INFINITE, json);
        else if (word == "at" && args >> ms)
            c.states.emplace_back(ms, json.substr(json.find(' ') + 1));
        else if ((word == "drawn" || word == "blank") && args >> rect[0] >> rect[1] >> rect[2] >> rect[3])
            c.inks.emplace_back(rect, word == "drawn");
        else if (word != "case" && !(c.numbers.contains(word) && args >> c.numbers[word]))
            throw std::runtime_error(c.where + ": cannot read " + line);
    }
    return cases;
}

class Golden_run : public Game_folder_test {
  public:
    explicit Golden_run(Golden_case c) : c(std::move(c)) {}

  protected:
    // State_json's line with the runner's own members before its closing brace.
    std::string State_line() const {
        std::string json = State_json(game, headless->elapsed());
        int held = 0;
        for (Surface* s : {game.select_normal, game.select_hilite, game.menu_surface, game.fade_surface})
            held += s != nullptr;
        return json.substr(0, json.size() - 1) + ",\"boxes\":" + std::to_string(headless->boxes().size()) +
               ",\"calls\":" + std::to_string(headless->mci().size() + headless->sounds().size()) +
               ",\"task_surfaces\":" + std::to_string(held) +
               ",\"quit\":" + std::to_string(ended && !headless->stopped_by_deadline()) + "}";
    }

    // The tokens the line lacks as whole members (after '{' or ',', before ',' or '}').
    static std::string Missing(const std::string& line, const std::string& tokens) {
        std::string missing, token;
        for (size_t i = 0; i <= tokens.size(); i++) {
            bool quoted = std::count(token.begin(), token.end(), '"') % 2;
            if (i < tokens.size() && (tokens[i] != ' ' || quoted)) {
                token += tokens[i];
                continue;
            }
            bool found = token.empty();
            for (size_t at = line.find(token); !found && at != std::string::npos;
                 at = line.find(token, at + 1))
                found =
                    at > 0 && std::strchr("{,", line[at - 1]) && std::strchr(",}", line[at + token.size()]);
            if (!found) missing += " " + token;
            token.clear();
        }
        return missing;
    }

    // Recorded audio calls in order, in the @mci form.
    Lines Calls() const {
        std::vector<std::pair<int, std::string>> all;
        for (const Headless_mci& m : headless->mci())
            all.emplace_back(m.order, Cp932_to_utf8(m.command.c_str()) + " = " + std::to_string(m.result) +
                                          (m.reply.empty() ? "" : " " + m.reply));
        char flags[16];
        for (const Headless_sound& s : headless->sounds()) {
            std::snprintf(flags, sizeof flags, "%X", (unsigned)s.flags);
            all.emplace_back(s.order, "wav " + Cp932_to_utf8(s.sound.c_str()) + " " + flags);
        }
        std::sort(all.begin(), all.end());
        Lines out;
        for (const auto& call : all) out.push_back(call.second);
        return out;
    }

    void TestBody() override {
        SCOPED_TRACE(c.where + " " + c.title);
        ASSERT_FALSE(c.title.empty()) << "the file cannot be read";
        for (const char* folder : {"wav", "MIDI"})
            fs::copy(fs::path(VELTRANE_SOURCE_DIR) / "demo" / folder, dir / folder);
        fs::remove("txt/config.tda");
        for (const auto& [name, bytes] : c.files) std::ofstream(name, std::ios::binary) << bytes;
        Events(c.events);
        if (!c.soundfont.empty()) headless->use_soundfont(c.soundfont);
        headless->call_at(0, [&] {
            headless->fail_surface((int)c.numbers["fail_surface"]);
            headless->fail_font((int)c.numbers["fail_font"]);
        });
        std::map<DWORD, std::string> seen;
        for (const auto& [ms, tokens] : c.states)
            if (ms != INFINITE) headless->call_at(ms, [&, ms] { seen[ms] = State_line(); });
        EXPECT_EQ(Play(c.numbers["until"]), (int)c.numbers["exit"]);
        ended = true;
        seen[INFINITE] = State_line();
        for (const auto& [ms, tokens] : c.states) {
            const std::string& line = seen[ms];
            EXPECT_EQ(Missing(line, tokens), "")
                << (ms == INFINITE ? "at the end" : "at " + std::to_string(ms)) << ", the state is "
                << (line.empty() ? "none" : line);
        }
        EXPECT_EQ(Boxes(), c.boxes);
        if (!c.calls.empty()) {
            EXPECT_EQ(Calls(), c.calls);
        }
        for (const auto& [r, drawn] : c.inks) {
            int ink = 0;
            for (int y = r[1]; y < r[1] + r[3]; y++)
                for (int x = r[0]; x < r[0] + r[2]; x++)
                    ink += At(game.bs_surface, x, y) != At(game.bg_surface, x, y);
            EXPECT_EQ(ink > 0, drawn)
                << "BS against BG in " << r[0] << " " << r[1] << " " << r[2] << " " << r[3];
        }
    }

    Golden_case c;
    bool ended = false; // quit counts once the run is over, and only when its deadline did not end it
};

// One test a case, named after its file and number: stepper_3.
const bool registered = [] {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/golden"))
        if (entry.path().extension() == ".golden") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::vector<Golden_case> cases;
        try {
            cases = Read_golden(file);
        } catch (const std::exception& e) { // a file that cannot be read is a failing test, not a crash
            cases.assign(1, {});
            cases[0].where = e.what();
        }
        int n = 0;
        for (Golden_case& c : cases) {
            std::string name = file.stem().string() + "_" + std::to_string(++n);
            ::testing::RegisterTest("Golden", name.c_str(), nullptr, c.title.c_str(), file.c_str(), n,
                                    [c]() -> Game_folder_test* { return new Golden_run(c); });
        }
    }
    return true;
}();

} // namespace
