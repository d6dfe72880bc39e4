// The script as the text stepper meets it: comments passed over, and each command's word looked up
// in the dispatcher's table before its arguments are checked.
#include "lint_internal.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

const std::vector<const char*>& Keyword_names() {
    static const std::vector<const char*> names = Names_of(Keywords());
    return names;
}

bool Known(const std::string& word) {
    const auto& names = Keyword_names();
    return std::find_if(names.begin(), names.end(), [&](const char* k) { return word == k; }) != names.end();
}

// A keyword run into what follows it, as in "delay,100": the longest keyword the word starts with,
// followed by a byte that cannot belong to a command word.
const char* Run_on(const std::string& word) {
    const char* best = nullptr;
    for (const char* k : Keyword_names()) {
        size_t n = std::strlen(k);
        if (word.size() <= n || word.compare(0, n, k) != 0) continue;
        auto next = (unsigned char)word[n];
        if (std::isalnum(next) || next == '_') continue;
        if (!best || n > std::strlen(best)) best = k;
    }
    return best;
}

void Unknown(Lint& lint, int pos, std::string word) {
    // a command on the last line without its line end: the name runs on into the end mark
    bool at_end = !word.empty() && (unsigned char)word.back() == SCRIPT_END_MARK;
    if (at_end) word.pop_back();
    if (word.empty()) return lint.Report(pos, true, "'#' without a command word");
    if (at_end && Known(word)) return lint.Report(pos, true, "#" + word + RUNS_INTO_END);
    std::string message = "unknown command #" + Shown(word);
    if (const char* k = Run_on(word))
        message += std::string(" (put a blank or a line end after #") + k + ")";
    else if (const char* near = Nearest(word, Keyword_names()))
        message += std::string(" (did you mean #") + near + "?)";
    lint.Report(pos, true, message);
}

// Whether bytes from to end hold a brace or a slash that the branch and block skips count.
bool Holds_block_bytes(int from, int end) {
    for (int p = from; p < end; p++)
        if ((Script_at(p) == '{' || Script_at(p) == '}' || Script_at(p) == '/') && Guarded(p)) return true;
    return false;
}

// The '#' at pos: a comment or a command. Returns where the walk goes on.
int Hash(Lint& lint, int pos) {
    if (Comment_at(pos)) {
        int end = Comment_end(pos);
        // the stepper passes over a comment, but a skip counts the braces and slashes in it
        if (Holds_block_bytes(pos, end)) Music_forget(lint);
        return end;
    }
    int end = Word_end(pos);
    std::string word((const char*)game.script_buf + pos + 1, (size_t)(end - pos - 1));
    if (!Known(word)) {
        Unknown(lint, pos, word);
        return end;
    }
    game.cur = end - 1; // where the dispatcher leaves cur for a handler
    Check_arguments(lint, word);
    return game.cur + 1;
}

// Whether the '/' at pos, met by the stepper in a choice's branch, stands inside a line of its text:
// text before it on its line, where no other '/' of the block is, and more text after it there.
bool Inside_branch_text(Lint& lint, int pos) {
    if (lint.blocks.empty() || !lint.blocks.back().choice || lint.blocks.back().branch == 0) return false;
    bool before = false, after = false;
    int p = pos - 1;
    for (; p > lint.blocks.back().last_slash && Script_at(p) != '\n'; p--) before |= Script_at(p) > ' ';
    if (p == lint.blocks.back().last_slash) return false; // branches written on one line
    for (p = pos + 1; p < lint.file().length && Script_at(p) != '\r' && Script_at(p) != '\n'; p++)
        after |= Script_at(p) > ' ' && !(Script_at(p) == '}' && Guarded(p));
    return before && after;
}

// A byte of running text that is no command: a brace, a slash or a label's star.
void Text_byte(Lint& lint, int pos) {
    unsigned char b = Script_at(pos);
    // a '/' in running text ends a branch: outside a block it skips to some later '}'
    if (b == '/' && lint.file().depth[(size_t)pos] == 0) lint.Report(pos, true, "'/' outside any block");
    if (b == '/' && Inside_branch_text(lint, pos))
        lint.Report(pos, false,
                    "the '/' in the text of the choice's branch " +
                        std::to_string(lint.blocks.back().branch) +
                        " ends it there: the rest of its text never shows (a '/' to show is written "
                        "full-width, '／')");
    if (b == '{' || b == '}' || b == '/') Music_brace(lint, pos);
    if (b == '*' && At_line_start(pos)) Music_forget(lint); // a jump may land here
}

} // namespace

void Walk_script(Lint& lint) {
    int length = lint.file().length;
    for (int pos = 0; pos < length;) {
        unsigned char b = Script_at(pos);
        if (b >= 0x80) {
            pos += 2;
        } else if (b == '#') {
            pos = std::max(Hash(lint, pos), pos + 1);
        } else {
            Text_byte(lint, pos);
            pos++;
        }
    }
}
