// The arguments of each command, read by the shape the engine's keyword table gives it with the
// engine's own scanning routines, as its handler reads them, then checked against what it accepts.
#include "gfx.h"
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

// Reports a value the handler of the shape refuses; true when it does.
bool Out_of_range(Command& c, int pos, int value, Arg arg, const char* what) {
    Arg_range r = Arg_bounds(arg);
    if (value >= r.low && value <= r.high) return false;
    c.Error(pos, std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(r.low) +
                     " to " + std::to_string(r.high));
    return true;
}

void Surface_word(Command& c) {
    std::string name = Word(c, "surface name");
    static const std::vector<const char*> names = Names_of(NAMED_SURFACES);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
        c.Error(game.cur, "unknown surface " + Shown(name) + " (" + Listed(names) + ")");
}

// A file of the folder dir (as scripts write it, e.g. "gdat"), found with the engine's name fallbacks,
// its kind told by ext (".bgh"). Returns its path as a script names it; empty when it was not found.
std::string File_word(Command& c, const char* dir, const char* ext) {
    std::string name = Word(c, "file name");
    if (name.empty()) return name;
    std::string path = std::string(".\\") + dir + "\\" + name;
    if (Game_file_found(path)) return path;
    std::string near = Nearest_file(c.lint, dir, name, ext);
    c.Error(game.cur, std::string(dir) + "/" + Shown(name) + " not found" +
                          (near.empty() ? "" : " (did you mean " + near + "?)"));
    return "";
}

void Picture_word(Command& c) {
    std::string path = File_word(c, "gdat", ".bgh");
    std::string problem = path.empty() ? "" : Picture_problem(c.lint, path, "gdat/" + Shown(path.substr(7)));
    if (!problem.empty()) c.Error(game.cur, problem);
}

// Why a target that was not found can match no label at all, where that can be told.
std::string Why_no_match(const std::string& target, unsigned char after) {
    if (target.size() > 32) return " (a label matches on its first 32 bytes only)";
    if (target[0] != '*') return " (a target starts with '*')";
    return after == ',' ? " (the target ends at the comma)" : "";
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
    // every '/' of the block's own level counts: one past the last branch's ends that branch early
    while (closed) {
        Skip_branch();
        if (c.lint.Boxed(mark) || game.cur - 1 > close) break;
        found++;
    }
    if (closed && slashes == 3 && found != 3)
        (found < 3 ? c.Error(brace, "the choice has " + std::to_string(found) + " branches; it needs 3")
                   : c.Error(brace, "the choice has " + std::to_string(found) +
                                        " branches; it needs 3 (what follows the fourth '/' never shows)"));
    else if (closed && found < slashes)
        c.Error(brace, "the block has no '/' between its two branches");
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

void Choices(Command& c) {
    int brace = Brace(c);
    if (brace < 0) return;
    Music_brace(c.lint, brace, true);
    game.cur = brace + 1;
    for (int k = 1; k <= 3; k++) {
        while (game.cur < SCRIPT_LAST && Script_at(game.cur) <= 0x20) game.cur++;
        if (Script_at(game.cur) == SCRIPT_END_MARK || std::strlen(Read_line()) == 0)
            c.Error(game.cur, "choice " + std::to_string(k) + " is missing");
    }
    Branches(c, brace, game.cur, 3); // slashes in the choice lines do not count
}

void Effect_word(Command& c) {
    static const std::vector<const char*> names = Names_of(Effects());
    std::string name = Word(c, "effect");
    if (name.empty() || std::find(names.begin(), names.end(), name) != names.end()) return;
    const char* near = Nearest(name, names);
    c.Error(game.cur, "unknown effect " + Shown(name) +
                          (near ? std::string(" (did you mean ") + near + "?)" : " (" + Listed(names) + ")"));
}

// A label of this script (jump), or of the script just named (file_change).
void Label_word(Command& c, int script_pos, const std::string& script) {
    std::string target = Word(c, "label");
    bool wide = Ends_in_wide_colon(target); // told here alone, whatever the label lines hold
    if (wide) c.Error(game.cur, "label " + Shown(target) + WIDE_COLON);
    if (script_pos >= 0) {
        if (script.empty()) return;
        int file = Visit_script(c.lint, script);
        if (file < 0)
            c.Error(script_pos, "txt/" + Shown(script) + " not found" + Utf8_hint(script));
        else if (!target.empty() && target.size() > 32)
            c.Error(script_pos, "label " + Shown(target) + " can never match" + Why_no_match(target, 0));
        else if (!target.empty() && !wide)
            c.lint.refs.push_back(Label_ref{c.lint.current, c.lint.Line_of(script_pos), file, target});
        return;
    }
    if (target.empty() || wide) return;
    int keep = game.cur;
    std::string problem = Label_problem(target);
    game.cur = keep;
    if (problem.empty()) return;
    if (problem[0] != ' ') return c.Warning(keep, problem);
    std::string slip =
        problem.find("did you mean") != std::string::npos ? "" : Why_no_match(target, Script_at(keep));
    c.Error(keep, "label " + Shown(target) + " is not in " + c.lint.file().shown + problem.substr(1) + slip);
}

// The sound file of the command; true when the engine plays it.
bool Sound_word(Command& c, const char* dir, Sound kind) {
    static constexpr const char* extensions[] = {".wav", ".mid", ".mp3"}; // by Sound
    std::string path = File_word(c, dir, extensions[(int)kind]);
    size_t name = std::strlen(dir) + 3; // after ".\\DIR\\"
    std::string fault = path.empty() ? "" : Sound_problem(c.lint, path, kind);
    if (!fault.empty()) c.Error(game.cur, std::string(dir) + "/" + Shown(path.substr(name)) + fault);
    return !path.empty() && fault.empty();
}

// What a command has read so far, for the checks that need more than one of its arguments.
struct Read_so_far {
    int script_pos = -1; // where the script's name starts, once one was read
    std::string script;
    bool plays = false;                            // the music file is one the engine plays
    std::vector<std::pair<int, int>> area, colour; // position and value of each
};

void Set_text_area(Command& c, const std::vector<std::pair<int, int>>& v) {
    if (v.size() != 4 || !c.lint.font_size) return;
    int64_t size = *c.lint.font_size;
    int64_t width = (int64_t)v[2].second - v[0].second, height = (int64_t)v[3].second - v[1].second;
    std::string in_force = " for font size " + std::to_string(size);
    if (width < 4 * size)
        c.Error(v[0].first, "the area is " + std::to_string(width) + " wide, too narrow" + in_force + " (" +
                                std::to_string(4 * size) + " at least)");
    else if (height < size)
        c.Error(v[0].first, "the area is " + std::to_string(height) + " high, too low" + in_force);
}

// Reads one argument as the handler does and checks it.
void Check_arg(Command& c, Arg arg, Read_so_far& read) {
    int pos = game.cur;
    switch (arg) {
    case Arg::END:
    case Arg::NONE:
        return;
    case Arg::STEP:
        return Cur_forward(1);
    case Arg::LIST_GAP:
        return Skip_list_gap();
    case Arg::NAME_GAP:
        return Skip_name_gap();
    case Arg::NUMBER:
        Number(c);
        return;
    case Arg::FLAG:
        Out_of_range(c, pos, Number(c), arg, "flag");
        return;
    case Arg::TEXT_WAIT:
        Out_of_range(c, pos, Number(c), arg, "wait");
        return;
    case Arg::PERCENT:
        if (int percent = Number(c); percent < 0 || percent > 100)
            c.Warning(pos, "opacity " + std::to_string(percent) + "% is outside 0 to 100 and wraps");
        return;
    case Arg::PLAY_MODE:
        if (int mode = Number(c); mode != 0 && mode != 1)
            c.Warning(pos, "mode " + std::to_string(mode) + " is neither 0 (once) nor 1 (loop)");
        return;
    case Arg::FONT_SIZE:
        c.lint.font_size = Number(c);
        return;
    case Arg::AREA:
        read.area.emplace_back(pos, Number(c));
        return;
    case Arg::COLOUR:
        read.colour.emplace_back(pos, Number(c));
        return;
    case Arg::SURFACE:
        return Surface_word(c);
    case Arg::EFFECT:
        return Effect_word(c);
    case Arg::PICTURE:
        return Picture_word(c);
    case Arg::WAVE:
        Sound_word(c, "wav", Sound::WAVE);
        return;
    case Arg::MUSIC:
        read.plays = Sound_word(c, "MIDI", c.word == "play_mp3" ? Sound::MP3 : Sound::MIDI);
        return;
    case Arg::SCRIPT:
        read.script_pos = pos;
        read.script = Word(c, "file name");
        return;
    case Arg::LABEL:
        return Label_word(c, read.script_pos, read.script);
    case Arg::BRANCHES:
        if (int brace = Brace(c); brace >= 0) Branches(c, brace, brace + 1, 1);
        return;
    case Arg::CHOICES:
        return Choices(c);
    }
}

const char* Arg_name(Arg arg) {
    switch (arg) {
    case Arg::END:
    case Arg::NONE:
        return "";
    case Arg::STEP:
        return " ";
    case Arg::LIST_GAP:
        return ", ";
    case Arg::NAME_GAP:
        return " ";
    case Arg::NUMBER:
        return "number";
    case Arg::FLAG:
        return "flag";
    case Arg::PERCENT:
        return "percent";
    case Arg::PLAY_MODE:
        return "mode";
    case Arg::FONT_SIZE:
        return "size";
    case Arg::AREA:
        return "edge";
    case Arg::TEXT_WAIT:
        return "ms";
    case Arg::COLOUR:
        return "colour";
    case Arg::SURFACE:
        return "surface";
    case Arg::EFFECT:
        return "effect";
    case Arg::PICTURE:
        return "picture";
    case Arg::WAVE:
        return "wave";
    case Arg::MUSIC:
        return "music";
    case Arg::SCRIPT:
        return "script";
    case Arg::LABEL:
        return "label";
    case Arg::BRANCHES:
        return " { / }";
    case Arg::CHOICES:
        return " { choice choice choice / / / }";
    }
    return "";
}

} // namespace

std::string Command_list() {
    std::string out;
    for (const Keyword& k : Keywords()) {
        std::string line = std::string("#") + k.name;
        for (Arg arg : k.args) line += Arg_name(arg);
        while (line.back() == ' ' || line.back() == ',') line.pop_back();
        out += line + "\n";
    }
    out += "effects:";
    for (const Effect& e : Effects()) out += std::string(" ") + e.name;
    return out + "\n";
}

void Check_arguments(Lint& lint, const std::string& word) {
    int at = game.cur;
    auto keywords = Keywords();
    auto k = std::find_if(keywords.begin(), keywords.end(), [&](const Keyword& k) { return word == k.name; });
    if (k == keywords.end()) return;
    Command c{lint, word};
    if (word == "start_menu") lint.start_menu = true;
    // a box of the flags for the author: left in outside any block (a flag of the author's own can
    // guard it), a reader meets it too
    const std::vector<int>& depth = lint.file().depth;
    if (word == "disp_flag" && game.cur < (int)depth.size() && depth[game.cur] == 0)
        c.Warning(game.cur, "shows the reader a box of the flags: a debugging aid left in?");
    Read_so_far read;
    for (Arg arg : k->args) {
        if (arg == Arg::END) break;
        Check_arg(c, arg, read);
    }
    Music_command(lint, at, word, read.plays);
    Set_text_area(c, read.area);
    for (auto [pos, value] : read.colour)
        if (Out_of_range(c, pos, value, Arg::COLOUR, "colour")) return;
}
