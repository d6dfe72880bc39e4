// Golden scripts: every case of tests/engine/golden/*.golden played headless in a fresh game folder,
// its boxes, state, pixels and audio calls compared with what the file states (golden/README.md).
#include "game_folder.h"
#include "slots.h"
#include "state_lines.h"

#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <set>

namespace {

struct Directive {
    std::string word, arg, bytes; // the word after '@', the rest of its line, and its section's bytes
};

struct Golden_case {
    std::string where, title; // file:line of the @case, and its title
    std::vector<Directive> directives;
};

// What a check looks at: the state line, BS and BG, at an @at time or at the end.
struct Snapshot {
    std::string line;
    std::vector<uint32_t> bs, bg;
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
    // The line of the script that holds cur, without its line end, as UTF-8 JSON; its blanks are written
    // \u0020, so that a state token can name them.
    static std::string Cur_line() {
        int start = game.cur, end = game.cur;
        while (start > 0 && Script_at(start - 1) != '\n') start--;
        while (end < SCRIPT_LAST && Script_at(end) != '\n' && Script_at(end) != SCRIPT_END_MARK) end++;
        if (end > start && Script_at(end - 1) == '\r') end--;
        std::string json =
            Json_string(Cp932_to_utf8((const char*)game.script_buf + start, (size_t)(end - start)));
        for (size_t at = 0; (at = json.find(' ', at)) != std::string::npos;) json.replace(at, 1, "\\u0020");
        return json;
    }

    // State_json's line, the runner's own members and every field's; quit only at the end.
    Snapshot Snap(bool end) const {
        size_t held = 0;
        for (Surface* s : {game.select_normal, game.select_hilite, game.menu_surface, game.fade_surface})
            held += s != nullptr;
        int w = 0, h = 0;
        std::string json = State_json(game, headless->elapsed()), fields = State_lines::Of_game(),
                    window = !IsWindow(game.main_window) || !Get_client_size(game.main_window, &w, &h)
                                 ? "none"
                             : Is_fullscreen(game.main_window) ? "fullscreen"
                                                               : std::to_string(w) + "x" + std::to_string(h);
        std::ranges::replace(fields, '\n', ',');
        json.back() = ',';
        for (auto [name, n] : {std::pair("boxes", headless->boxes().size()),
                               {"calls", headless->mci().size() + headless->sounds().size()},
                               {"task_surfaces", held},
                               {"presents", (size_t)headless->presents()},
                               {"uploads", (size_t)headless->uploads()},
                               {"effects_volume", (size_t)headless->effects_volume()},
                               {"music_volume", (size_t)headless->musics_volume()},
                               {"quit", end && !headless->stopped_by_deadline()}})
            json += "\"" + std::string(name) + "\":" + std::to_string(n) + ",";
        return {json + "\"line\":" + Cur_line() + "," + fields + "\"window\":\"" + window + "\"}",
                Frame(game.bs_surface), Frame(game.bg_surface)};
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

    // A check's time (@at's first word, a picture check's last; INFINITE, the end, when not given) and
    // a picture check's rectangle and colour (hex). False when they cannot be read.
    static bool Numbers(const Directive& d, int (&v)[5], DWORD* ms) {
        std::istringstream args(d.arg);
        *ms = INFINITE;
        if (d.word == "at") return (bool)(args >> *ms);
        if (!(args >> v[0] >> v[1] >> v[2] >> v[3]) ||
            (d.word == "pixel" && !(args >> std::hex >> v[4] >> std::dec)))
            return false;
        DWORD t;
        return args >> t ? (*ms = t, true) : args.eof();
    }

    // The state's lines but those of the fields named (an @same's words).
    static std::string Without(const std::string& lines, const std::string& names) {
        std::istringstream in(lines), words(names);
        std::set<std::string> left_out;
        for (std::string name; words >> name;) left_out.insert(Json_string(name));
        std::string kept;
        for (std::string line; std::getline(in, line);)
            if (!left_out.contains(line.substr(0, line.find(':')))) kept += line + "\n";
        return kept;
    }

    // @slot N DATA: the file of tests/engine/data as slot N's, its game made this folder's, as a save
    // moved with its game folder would be.
    void Put_slot(const std::string& arg) {
        std::istringstream args(arg);
        int slot = -1;
        std::string name;
        ASSERT_TRUE(args >> slot >> name) << "@slot " << arg;
        std::ifstream in(fs::path(VELTRANE_SOURCE_DIR) / "tests/engine/data" / name, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::string keyed;
        args >> keyed;
        std::string id = (keyed == "path" ? Path_game_id : Folder_game_id)(fs::current_path());
        if (bytes.size() >= 88) bytes.replace(24, 64, id + std::string(64 - id.size(), '\0'));
        fs::path saves = dir / "data/veltrane/saves" / id;
        fs::create_directories(saves);
        std::ofstream(saves / (slot == 0 ? "quick.sav" : std::to_string(slot) + ".sav"), std::ios::binary)
            << bytes;
    }

    // @edit PATH TEXT => NEW: the first TEXT of the folder's file at PATH becomes NEW, both with their
    // escapes as bytes and in CP932, as an author's edit between two runs.
    static void Edit(const std::string& arg) {
        size_t blank = arg.find(' '), arrow = arg.find(" =>");
        ASSERT_TRUE(blank < arrow && arrow != std::string::npos) << "@edit " << arg;
        fs::path path = arg.substr(0, blank);
        std::ifstream in(path, std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::string text = Unescape(arg.substr(blank + 1, arrow - blank - 1), true);
        size_t at = bytes.find(text);
        ASSERT_NE(at, std::string::npos) << "@edit " << arg << ": not in the file";
        std::ofstream(path, std::ios::binary)
            << bytes.replace(at, text.size(), Unescape(arg.substr(std::min(arg.size(), arrow + 4)), true));
    }

    // A directive whose first word is a time (@edit MS PATH ...), not a path.
    static bool Timed(const std::string& arg) {
        std::string first = arg.substr(0, arg.find(' '));
        return !first.empty() && std::ranges::all_of(first, [](char c) { return c >= '0' && c <= '9'; });
    }

    // One run: the directives up to an @restart, played in the case's folder as it is.
    void Run(const std::vector<Directive>& run) {
        std::map<std::string, DWORD> n{{"until", 600000}, {"exit", 0},  {"fail_surface", 0},
                                       {"fail_font", 0},  {"clock", 0}, {"scale", 0}};
        for (const Directive& d : run)
            if (n.contains(d.word) && !(std::istringstream(d.arg) >> n[d.word]))
                ADD_FAILURE() << "cannot read @" << d.word << " " << d.arg;
        Restart(n["clock"]);
        Reader_options((int)n["scale"], false);
        std::map<DWORD, Snapshot> seen; // at each time a check names, and at the end
        Lines boxes, calls;
        std::string errors;
        std::optional<Play_options> options; // with the reader in front
        bool watch = false;                  // and live editing
        for (const Directive& d : run) {
            std::istringstream args(d.arg);
            int v[5] = {};
            DWORD ms = 0;
            std::string path = d.arg;
            if (size_t at = path.find("{id}"); at != std::string::npos)
                path.replace(at, 4, Folder_game_id(fs::current_path()));
            if (d.word == "script" || d.word == "file") {
                fs::path file = (d.word == "script" ? "txt/" : "") + path;
                fs::create_directories(fs::absolute(file).parent_path());
                std::ofstream(file, std::ios::binary) << d.bytes;
            } else if (d.word == "events")
                Events(d.bytes);
            else if (d.word == "reader") {
                options.emplace(); // SCRIPT LABEL FLAGS, '-' for none
                for (std::string* s : {&options->script, &options->label})
                    *s = args >> *s && *s != "-" ? *s : "";
                for (int flag; args >> flag;) options->flags.push_back(flag);
            } else if (d.word == "slot")
                Put_slot(d.arg);
            else if (d.word == "edit" && Timed(d.arg) && args >> ms)
                headless->call_at(ms, [arg = d.arg.substr(d.arg.find(' ') + 1)] { Edit(arg); });
            else if (d.word == "edit")
                Edit(d.arg);
            else if (d.word == "watch")
                watch = true;
            else if (d.word == "soundfont")
                headless->use_soundfont(d.arg);
            else if (d.word == "box" || d.word == "mci")
                (d.word == "box" ? boxes : calls).push_back(Unescape(d.arg, false));
            else if (d.word == "stderr")
                errors += Unescape(d.arg, false) + "\n";
            else if (std::string file; d.word == "remove" && args >> ms >> file)
                headless->call_at(ms, [file] { fs::remove(file); });
            else if (int w, h; d.word == "size" && args >> w >> h)
                headless->call_at(0, [w, h] {
                    Set_client_size(game.main_window, w, h);
                    PostMessage(game.main_window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, h));
                });
            else if (d.word == "at" || d.word == "pixel" || d.word == "drawn" || d.word == "blank") {
                if (!Numbers(d, v, &ms)) ADD_FAILURE() << "cannot read @" << d.word << " " << d.arg;
                if (ms != INFINITE) headless->call_at(ms, [&, ms] { seen[ms] = Snap(false); });
            } else if (!n.contains(d.word) && d.word != "case" && d.word != "state" && d.word != "same" &&
                       d.word != "saves" && d.word != "notice")
                ADD_FAILURE() << "cannot read @" << d.word << " " << d.arg;
        }
        headless->call_at(0, [&] {
            headless->fail_surface((int)n["fail_surface"]);
            headless->fail_font((int)n["fail_font"]);
        });
        if (options) options->watch = watch;
        headless->stop_at(n["until"]);
        game.tell_stderr = !errors.empty(); // as the programs tell each box on stderr
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(options ? Main_play(&instance, *options, "veltrane")
                          : WinMain(&instance, nullptr, "", SW_SHOWNORMAL),
                  (int)n["exit"]);
        std::string told = ::testing::internal::GetCapturedStderr();
        seen[INFINITE] = Snap(true);
        for (const Directive& d : run) {
            int v[5] = {};
            DWORD ms;
            Numbers(d, v, &ms); // the end for a check of no time
            const Snapshot& s = seen[ms];
            if (d.word == "state" || d.word == "at") {
                EXPECT_EQ(Missing(s.line, d.word == "at" ? d.arg.substr(d.arg.find(' ') + 1) : d.arg), "")
                    << "@" << d.word << " " << d.arg
                    << "\nthe state then: " << (s.line.empty() ? "none" : s.line);
            } else if (d.word == "drawn" || d.word == "blank" || d.word == "pixel") {
                ASSERT_FALSE(s.bs.empty()) << "@" << d.word << " " << d.arg << ": no picture then";
                int ink = 0, colour = 0; // pixels of BS that differ from BG, and that are of the colour
                for (int y = v[1]; y < v[1] + v[3]; y++)
                    for (int at = y * SCREEN_W + v[0]; at < y * SCREEN_W + v[0] + v[2]; at++)
                        ink += s.bs[at] != s.bg[at], colour += s.bs[at] == (uint32_t)v[4];
                EXPECT_GT(d.word == "pixel"   ? colour
                          : d.word == "drawn" ? ink
                                              : !ink,
                          0)
                    << "@" << d.word << " " << d.arg;
            } else if (d.word == "same")
                EXPECT_EQ(Without(State_lines::Of_game(), d.arg), Without(whole, d.arg))
                    << "the whole state against the last run's";
            else if (d.word == "saves") {
                std::set<std::string> names; // in order
                fs::path saves = dir / "data/veltrane/saves" / reader.game_id;
                for (const auto& f : fs::directory_iterator(saves, fs::directory_options::none, failed))
                    names.insert(" " + f.path().filename().string());
                EXPECT_EQ(std::accumulate(names.begin(), names.end(), std::string()),
                          d.arg.empty() ? "" : " " + d.arg);
            } else if (d.word == "notice") {
                EXPECT_EQ(Cp932_to_utf8(reader.notice_text.c_str()), d.arg) << "@notice";
            }
        }
        EXPECT_EQ(Boxes(), boxes);
        EXPECT_EQ(calls.empty() ? calls : Calls(), calls) << "the audio calls";
        EXPECT_EQ(errors.empty() ? "" : told, errors) << "stderr";
        whole = State_lines::Of_game();
    }

    void TestBody() override {
        SCOPED_TRACE(c.where + " " + c.title);
        ASSERT_FALSE(c.title.empty()) << "a case without a title, or a directive before the first @case";
        fs::remove("txt/config.tda");
        std::vector<std::vector<Directive>> runs(1);
        for (const Directive& d : c.directives)
            d.word == "restart" ? (void)runs.emplace_back() : runs.back().push_back(d);
        for (const auto& run : runs) Run(run);
    }

    Golden_case c;
    std::error_code failed; // a folder of saves not made is one with none
    std::string whole;      // the last run's whole state at its end
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
