// The arguments of each command, read with the engine's own scanning routines as its handler
// reads them, then checked against what the command accepts.
#include "lint_internal.h"

#include <algorithm>
#include <cstring>

namespace {

// One command being checked: its word, for the messages, and the lint run.
struct Command {
    Lint& lint;
    std::string word;

    void Error(int pos, const std::string& message) { lint.Report(pos, true, "#" + word + ": " + message); }
    void Warning(int pos, const std::string& message) {
        lint.Report(pos, false, "#" + word + ": " + message);
    }
};

// A number read with Read_num; a byte that is no digit makes the box the engine would show.
int Number(Command& c) {
    int start = game.cur;
    while (start < SCRIPT_LAST && Script_at(start) < '!') start++;
    size_t mark = c.lint.Mark();
    int value = Read_num();
    if (start >= c.lint.file().length) {
        c.Error(start, "the number is missing (the script ends)");
    } else if (game.cur > c.lint.file().length) {
        c.Error(start, "the number" + std::string(RUNS_INTO_END));
    } else if (c.lint.Boxed(mark)) {
        std::string text((const char*)game.script_buf + start, (size_t)std::max(game.cur - start, 1));
        c.Error(start, "'" + Shown(text) + "' is not a decimal number");
    }
    return value;
}

// A word read with Read_word; an empty one is reported as missing.
std::string Word(Command& c, const char* what) {
    int start = game.cur;
    while (start < SCRIPT_LAST && (Script_at(start) == ' ' || Script_at(start) == '\t')) start++;
    // past the end mark a word would be the mark itself and what follows it in the buffer
    if (start >= c.lint.file().length) {
        Read_word();
        c.Error(start, std::string("the ") + what + " is missing (the script ends)");
        return "";
    }
    std::string word = Read_word();
    if (!word.empty() && (unsigned char)word.back() == SCRIPT_END_MARK) {
        word.pop_back();
        c.Error(start, std::string("the ") + what + RUNS_INTO_END);
    }
    if (word.empty()) {
        bool line_end = Script_at(game.cur) == '\r' || Script_at(game.cur) == '\n';
        c.Error(game.cur, std::string("the ") + what + " is missing" +
                              (line_end ? " (a word cannot go on the next line)" : ""));
    }
    return word;
}

void In_range(Command& c, int pos, int value, int low, int high, const char* what) {
    if (value < low || value > high)
        c.Error(pos, std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(low) +
                         " to " + std::to_string(high));
}

void Surface_word(Command& c) {
    std::string name = Word(c, "surface name");
    if (!name.empty() && name != "BS" && name != "BG" && name != "PT")
        c.Error(game.cur, "unknown surface " + Shown(name) + " (BS, BG or PT)");
}

// A file of the folder dir (as scripts write it, e.g. "gdat"), found with the engine's name fallbacks.
std::string File_word(Command& c, const char* dir) {
    std::string name = Word(c, "file name");
    if (name.empty()) return name;
    std::string path = std::string(".\\") + dir + "\\" + name;
    if (!Game_file_found(path)) c.Error(game.cur, std::string(dir) + "/" + Shown(name) + " not found");
    return name;
}

// Why a target that was not found can match no label at all, where that can be told.
std::string Why_no_match(const std::string& target, unsigned char after) {
    if (target.size() > 32) return " (a label matches on its first 32 bytes only)";
    if (target[0] != '*') return " (a target starts with '*')";
    return after == ',' ? " (the target ends at the comma)" : "";
}

void Flag(Command& c) {
    Cur_forward(1);
    int pos = game.cur;
    In_range(c, pos, Number(c), 0, 255, "flag");
}

// The branches of the block whose '{' is at brace: each opened by a '/' between from and the
// block's '}'.
void Branches(Command& c, int brace, int from, int slashes) {
    int keep = game.cur;
    size_t mark = c.lint.Mark();
    game.cur = brace + 1;
    Skip_block();
    int close = game.cur - 2;
    bool closed = !c.lint.Boxed(mark); // a block that never closes is reported with the braces
    game.cur = from;
    int found = 0;
    while (closed && found < slashes) {
        Skip_branch();
        if (c.lint.Boxed(mark) || game.cur - 1 > close) break;
        found++;
    }
    if (closed && found < slashes)
        c.Error(brace, slashes == 1 ? "the block has no '/' between its two branches"
                                    : "the block has " + std::to_string(found) + " of the " +
                                          std::to_string(slashes) + " '/' that open its branches");
    game.cur = keep;
}

// The '{' that if_flag and select3 look for from cur, across lines; -1 when there is none.
int Brace(Command& c) {
    int pos = game.cur;
    while (pos < SCRIPT_LAST && Script_at(pos) != '{') pos++;
    if (Script_at(pos) == '{') return pos;
    c.Error(game.cur, "no '{' follows");
    return -1;
}

void If_flag(Command& c) {
    Flag(c);
    int brace = Brace(c);
    if (brace >= 0) Branches(c, brace, brace + 1, 1);
}

void Select3(Command& c) {
    int brace = Brace(c);
    if (brace < 0) return;
    game.cur = brace + 1;
    for (int k = 1; k <= 3; k++) {
        while (game.cur < SCRIPT_LAST && Script_at(game.cur) <= 0x20) game.cur++;
        if (Script_at(game.cur) == SCRIPT_END_MARK || std::strlen(Read_line()) == 0)
            c.Error(game.cur, "choice " + std::to_string(k) + " is missing");
    }
    Branches(c, brace, game.cur, 3); // slashes in the choice lines do not count
}

void Jump(Command& c) {
    Cur_forward(1);
    std::string target = Word(c, "label");
    if (target.empty()) return;
    int keep = game.cur, stop = 0;
    bool found = Find_label(target.c_str(), &stop);
    game.cur = keep;
    if (!found)
        c.Error(keep, "label " + Shown(target) + " is not in " + c.lint.file().shown +
                          Why_no_match(target, Script_at(keep)));
}

void File_change(Command& c) {
    Cur_forward(1);
    int pos = game.cur;
    std::string name = Word(c, "file name");
    Skip_name_gap();
    std::string target = Word(c, "label");
    if (name.empty()) return;
    int file = Visit_script(c.lint, name);
    if (file < 0)
        c.Error(pos, "txt/" + Shown(name) + " not found");
    else if (!target.empty() && target.size() > 32)
        c.Error(pos, "label " + Shown(target) + " can never match" + Why_no_match(target, 0));
    else if (!target.empty())
        c.lint.refs.push_back(Label_ref{c.lint.current, c.lint.Line_of(pos), file, target});
}

// Numbers between list gaps (comma, blank, LF), each with the position it starts at.
std::vector<std::pair<int, int>> Numbers(Command& c, int count) {
    std::vector<std::pair<int, int>> read;
    for (int i = 0; i < count; i++) {
        if (i > 0) Skip_list_gap();
        int pos = game.cur;
        read.emplace_back(pos, Number(c));
    }
    return read;
}

void Delay(Command& c) {
    Cur_forward(1);
    Number(c);
}

void G_load(Command& c) {
    Cur_forward(1);
    Surface_word(c);
    Skip_list_gap();
    File_word(c, "gdat");
}

// g_copy and alpha_copy: destination, x, y, source, x, y, width, height.
void Copy_args(Command& c) {
    Cur_forward(1);
    Surface_word(c);
    Skip_list_gap();
    Numbers(c, 2);
    Skip_list_gap();
    Surface_word(c);
    Skip_list_gap();
    Numbers(c, 4);
}

void Alpha_copy(Command& c) {
    Copy_args(c);
    Skip_list_gap();
    int pos = game.cur;
    int percent = Number(c);
    if (percent < 0 || percent > 100)
        c.Warning(pos, "opacity " + std::to_string(percent) + "% is outside 0 to 100 and wraps");
}

void G_change(Command& c) {
    static const char* const effects[] = {"CURTAIN", "SPREAD", "STRETCH_X", "STRETCH_Y"};
    Cur_forward(1);
    std::string name = Word(c, "effect");
    if (name.empty() || std::find(std::begin(effects), std::end(effects), name) != std::end(effects)) return;
    const char* near = Nearest(name, effects);
    c.Error(game.cur, "unknown effect " + Shown(name) +
                          (near ? std::string(" (did you mean ") + near + "?)"
                                : " (CURTAIN, SPREAD, STRETCH_X or STRETCH_Y)"));
}

void Play_wav(Command& c) {
    Cur_forward(1);
    int pos = game.cur;
    int mode = Number(c);
    if (mode != 0 && mode != 1)
        c.Warning(pos, "mode " + std::to_string(mode) + " is neither 0 (once) nor 1 (loop)");
    Skip_name_gap();
    File_word(c, "wav");
}

void Play_music(Command& c) {
    Cur_forward(1);
    File_word(c, "MIDI");
}

void Set_font_size(Command& c) {
    Cur_forward(1);
    c.lint.font_size = Number(c);
}

void Set_text_area(Command& c) {
    Cur_forward(1);
    auto v = Numbers(c, 4);
    if (!c.lint.font_size) return;
    int64_t size = *c.lint.font_size;
    int64_t width = (int64_t)v[2].second - v[0].second, height = (int64_t)v[3].second - v[1].second;
    std::string in_force = " for font size " + std::to_string(size);
    if (width < 4 * size)
        c.Error(v[0].first, "the area is " + std::to_string(width) + " wide, too narrow" + in_force + " (" +
                                std::to_string(4 * size) + " at least)");
    else if (height < size)
        c.Error(v[0].first, "the area is " + std::to_string(height) + " high, too low" + in_force);
}

void Set_text_wait(Command& c) {
    Cur_forward(1);
    int pos = game.cur;
    In_range(c, pos, Number(c), 0, 5000, "wait");
}

void Set_text_color(Command& c) {
    Cur_forward(1);
    for (auto [pos, value] : Numbers(c, 6))
        if (value < 0 || value > 255) return In_range(c, pos, value, 0, 255, "colour");
}

void Start_menu(Command& c) {
    Cur_forward(1);
    Numbers(c, 2);
    Skip_list_gap();
}

// What a command reads after its word; a word with no entry reads nothing.
struct Form {
    const char* word;
    void (*check)(Command&);
};

void Past_word(Command&) { Cur_forward(1); }

const Form forms[] = {
    {"delay", Delay},
    {"g_load", G_load},
    {"g_copy", Copy_args},
    {"g_change", G_change},
    {"flag_on", Flag},
    {"flag_off", Flag},
    {"disp_flag", Flag},
    {"if_flag", If_flag},
    {"jump", Jump},
    {"file_change", File_change},
    {"select3", Select3},
    {"play_wav", Play_wav},
    {"play_midi", Play_music},
    {"play_mp3", Play_music},
    {"set_font_size", Set_font_size},
    {"set_text_area", Set_text_area},
    {"set_text_wait", Set_text_wait},
    {"set_text_color", Set_text_color},
    {"fade_out", Past_word},
    {"fade_in", Past_word},
    {"alpha_copy", Alpha_copy},
    {"start_menu", Start_menu},
};

} // namespace

void Check_arguments(Lint& lint, const std::string& word) {
    Command c{lint, word};
    for (const Form& f : forms)
        if (word == f.word) f.check(c);
}
