// The lint run: the scripts reached from txt/config.tda, each loaded with the engine's loader and
// checked, then the labels named by file_change, and the report in file and line order.
#include "lint.h"
#include "lint_internal.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

int Lint::Line_of(int pos) {
    const std::vector<int>& starts = file().line_starts;
    return (int)(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin());
}

void Lint::Report(int pos, bool error, const std::string& message) {
    problems.push_back(Problem{current, Line_of(pos), error, message});
}

namespace {

constexpr int ROOM = SCRIPT_BUF_SIZE - 2; // the most script bytes the buffer holds

void Index_lines(Script_file& f) {
    f.line_starts.assign(1, 0);
    for (int i = 0; i < f.length; i++)
        if (f.image[(size_t)i] == '\n') f.line_starts.push_back(i + 1);
}

// Loads the file into a cleared buffer, so that no earlier script's bytes are taken for its own;
// false when it cannot be read.
bool Load(Lint& lint, Script_file& f, const std::string& path) {
    std::memset(game.script_buf, 0, sizeof game.script_buf);
    size_t mark = lint.Mark();
    if (!Xalo_bload(path.c_str(), game.script_buf)) return false;
    bool cut = lint.Boxed(mark); // the loader's one other box
    f.image.assign(game.script_buf, game.script_buf + SCRIPT_BUF_SIZE);
    f.length = (int)(std::find(f.image.begin(), f.image.end(), SCRIPT_END_MARK) - f.image.begin());
    Index_lines(f);
    if (!cut) return true;
    int keep = lint.current;
    lint.current = (int)lint.files.size() - 1;
    lint.Report(ROOM - 1, true, "the script is over 65,534 bytes: the engine cuts it here");
    lint.current = keep;
    return true;
}

void Check_file(Lint& lint, int index) {
    lint.current = index;
    Script_file& f = lint.file();
    std::memcpy(game.script_buf, f.image.data(), SCRIPT_BUF_SIZE);
    // the engine's start values hold at the top of the first script; elsewhere the size in force
    // depends on the way the story came
    Text_defaults();
    lint.font_size = index == 0 && lint.story_start ? std::optional<int>(game.font_size) : std::nullopt;
    Check_bytes(lint);
    Check_braces(lint);
    Check_labels(lint);
    Check_source(lint);
    Music_start(lint, index == 0);
    Walk_script(lint);
}

void Check_refs(Lint& lint) {
    for (const Label_ref& ref : lint.refs) {
        const Script_file& target = lint.files[(size_t)ref.target];
        std::memcpy(game.script_buf, target.image.data(), SCRIPT_BUF_SIZE);
        std::string problem = Label_problem(ref.label);
        if (problem.empty()) continue;
        bool missing = problem[0] == ' ';
        lint.problems.push_back(
            Problem{ref.from, ref.line, missing,
                    "#file_change: " + (missing ? "label " + Shown(ref.label) + " is not in " + target.shown +
                                                      problem.substr(1)
                                                : problem)});
    }
}

// The problems in file and line order, and how many of each kind.
Lint_result Result(const Lint& lint) {
    std::vector<Problem> sorted = lint.problems;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Problem& a, const Problem& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    Lint_result result;
    for (const Problem& p : sorted) {
        result.report += lint.files[(size_t)p.file].shown + ":" + std::to_string(p.line) + ": " +
                         (p.error ? "error: " : "warning: ") + p.message + "\n";
        (p.error ? result.errors : result.warnings)++;
    }
    return result;
}

// A run whose script cannot be opened: that is its one error.
Lint_result Unopened(const std::string& line) { return Lint_result{line + "\n", 1, 0}; }

} // namespace

std::string Folder_name(const std::string& real) { return real.rfind("./", 0) == 0 ? real.substr(2) : real; }

std::string Label_problem(const std::string& target) {
    int stop = 0;
    bool colon = target.back() == ':';
    if (Find_label(target.c_str(), &stop))
        return colon ? ""
                     : "the label line of " + Shown(target) + " has no ':' after it, so its text is typed";
    std::string other = colon ? target.substr(0, target.size() - 1) : target + ":";
    if (other.size() > 1 && other.size() <= 32 && Find_label(other.c_str(), &stop))
        return "  (did you mean " + Shown(other) + "?)";
    return " ";
}

bool Game_file_found(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Game_file_path(path.c_str()), ec);
}

int Visit_script(Lint& lint, const std::string& name) { return Visit_path(lint, ".\\txt\\" + name); }

int Visit_path(Lint& lint, const std::string& path) {
    std::string real = Found_path(path.c_str());
    for (size_t i = 0; i < lint.files.size(); i++)
        if (lint.files[i].shown == real) return (int)i;
    if (!Game_file_found(path)) return -1;
    // the script being walked, which names this one, goes back into the buffer afterwards
    std::vector<unsigned char> walked(game.script_buf, game.script_buf + SCRIPT_BUF_SIZE);
    lint.files.push_back(Script_file{real, {}, 0, {}, {}});
    bool loaded = Load(lint, lint.files.back(), path);
    std::memcpy(game.script_buf, walked.data(), SCRIPT_BUF_SIZE);
    if (!loaded) lint.files.pop_back();
    return loaded ? (int)lint.files.size() - 1 : -1;
}

Lint_result Lint_game() {
    Lint lint;
    lint.headless = &Use_headless_backend();
    if (Visit_script(lint, "config.tda") < 0)
        return Unopened("txt/config.tda:1: error: the first script cannot be opened" +
                        Utf8_hint("config.tda"));
    // file_change adds the scripts it names as the walk meets them
    for (size_t i = 0; i < lint.files.size(); i++) Check_file(lint, (int)i);
    Check_refs(lint);
    Check_fixed_pictures(lint);
    return Result(lint);
}

Lint_result Lint_script(const std::string& path) {
    Lint lint;
    lint.headless = &Use_headless_backend();
    lint.story_start = Found_path(path.c_str()) == Found_path(".\\txt\\config.tda");
    if (Visit_path(lint, path) < 0)
        return Unopened(Folder_path(path.c_str()) + ":1: error: the script cannot be opened");
    // the scripts it names are loaded for their labels; their own problems are theirs
    Check_file(lint, 0);
    Check_refs(lint);
    std::erase_if(lint.problems, [](const Problem& p) { return p.file != 0; });
    return Result(lint);
}
