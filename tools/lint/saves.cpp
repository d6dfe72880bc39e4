// The saves of an earlier version of a story checked against the story as it is now, with the routine
// a restore follows its script with.
#include "saves.h"
#include "lint_internal.h"
#include "save_format.h"
#include "slots.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The name with each run of digits widened to 20, so that names sort as a reader counts them: 2.sav
// before 10.sav.
std::string Sort_key(const std::string& name) {
    std::string key;
    for (size_t at = 0; at < name.size();) {
        size_t end = at;
        while (end < name.size() && std::isdigit((unsigned char)name[end])) end++;
        if (end == at) {
            key += name[at++];
            continue;
        }
        key += std::string(end - at < 20 ? 20 - (end - at) : 0, '0') + name.substr(at, end - at);
        at = end;
    }
    return key;
}

// The files of dir to check, in order: every regular file but the hidden ones.
bool Files_of(const std::string& dir, std::vector<std::string>* names) {
    std::error_code ec, each;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        if (name[0] != '.' && entry.is_regular_file(each)) names->push_back(name);
    }
    std::sort(names->begin(), names->end(), [](const std::string& a, const std::string& b) {
        return std::pair(Sort_key(a), a) < std::pair(Sort_key(b), b);
    });
    return !ec;
}

std::string Why_kept(const Followed& f) {
    switch (f.why) {
    case Kept::CHANGED:
        return f.shown + " changed at the saved place";
    case Kept::REPEATED:
        return "the lines around the saved place come more than once, in " + f.shown +
               " or in the save's copy";
    case Kept::PAST_END:
        return "the saved place lies past the end of its copy of " + f.shown;
    case Kept::MISSING:
        return f.shown + " is missing";
    case Kept::UNREADABLE:
        return f.shown + " cannot be read";
    case Kept::TOO_LONG:
        return f.shown + " is over 65,534 bytes: the engine would cut it";
    default:
        return "the save names no script";
    }
}

// Where the restored story goes on: the line the stepper types or runs next, past the line end and
// blank lines the place may lie on, as "FILE:LINE: TEXT".
std::string Next_line(const Followed& f) {
    const unsigned char* buf = f.script.data();
    int end = (int)(std::find(buf, buf + SCRIPT_LAST, SCRIPT_END_MARK) - buf);
    int at = std::min(f.cur, end);
    while (at < end && (buf[at] == '\r' || buf[at] == '\n')) at++;
    int start = at, stop = at;
    while (start > 0 && buf[start - 1] != '\n') start--;
    while (stop < end && buf[stop] != '\r' && buf[stop] != '\n') stop++;
    int line = 1 + (int)std::count(buf, buf + start, '\n');
    std::string text = at == end ? "(the end of the script)" : Shown(std::string(buf + start, buf + stop));
    return f.shown + ":" + std::to_string(line) + ": " + text;
}

// One file's lines; false when it keeps its own copy or cannot be checked.
bool Check_save(const std::string& dir, const std::string& name, const std::string& game_id) {
    std::string bytes;
    bool missing = false;
    if (!Read_whole(dir + "/" + name, SAVE_MAX, &bytes, &missing)) {
        std::printf("%s: cannot be checked: it cannot be read\n", name.c_str());
        return false;
    }
    std::string made_by = Save_game(bytes);
    Followed f;
    if (const char* why = Save_follow(bytes, made_by.empty() ? game_id : made_by, &f)) {
        std::printf("%s: cannot be checked: %s\n", name.c_str(), Refusal_in_english(why));
        return false;
    }
    if (made_by != game_id)
        std::printf("%s: warning: made by another game (%s), checked against this one\n", name.c_str(),
                    Shown(made_by).c_str());
    bool kept = f.how == Follow::KEPT;
    std::printf("%s: %s\n", name.c_str(),
                (kept ? "keeps its own copy: " + Why_kept(f) : Next_line(f)).c_str());
    return !kept;
}

} // namespace

int Lint_saves(const std::string& dir, const std::string& named) {
    std::vector<std::string> names;
    if (!Files_of(dir, &names)) {
        std::fprintf(stderr, "veltrane-lint: cannot list %s\n", named.c_str());
        return 2;
    }
    if (names.empty()) std::fprintf(stderr, "veltrane-lint: %s holds no saves\n", named.c_str());
    Use_headless_backend(); // a box of the engine's is recorded, never shown
    char here[4096];
    std::string game_id = getcwd(here, sizeof here) ? Folder_game_id(here) : "";
    bool all = true;
    for (const std::string& name : names) all = Check_save(dir, name, game_id) && all;
    std::fflush(stdout);
    return all ? 0 : 1;
}
