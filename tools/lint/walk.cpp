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

// The '#' at pos: a comment or a command. Returns where the walk goes on.
int Hash(Lint& lint, int pos) {
    if (Comment_at(pos)) return Comment_end(pos);
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
            // a '/' in running text ends a branch: outside a block it skips to some later '}'
            if (b == '/' && lint.file().depth[(size_t)pos] == 0)
                lint.Report(pos, true, "'/' outside any block");
            pos++;
        }
    }
}
