// The coverage of a cover run and the observer that fills it while a route plays.
#include "coverage.h"

#include <strings.h>

#include <algorithm>
#include <climits>
#include <fstream>

namespace {

// The file as Xalo_bload keeps it: the bytes before the first end mark, 65,534 at most.
std::vector<unsigned char> Script_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes;
    char c;
    while (bytes.size() < SCRIPT_BUF_SIZE - 2 && in.get(c) && (unsigned char)c != SCRIPT_END_MARK)
        bytes.push_back((unsigned char)c);
    return bytes;
}

// What a file of the folder is to the story, by its folder.
std::string Kind_of(const std::string& path) {
    static const std::pair<const char*, const char*> kinds[] = {
        {"gdat", "picture"}, {"wav", "sound"}, {"midi", "music"}, {"txt", "script"}};
    std::string folder = path.substr(0, path.find('/'));
    for (const auto& [name, kind] : kinds)
        if (strcasecmp(folder.c_str(), name) == 0) return kind;
    return "file";
}

} // namespace

std::string In_folder(const std::string& path) {
    std::string out = path;
    while (out.rfind("./", 0) == 0) out.erase(0, 2);
    return out;
}

int Line_of(const Script_cover& script, int pos) {
    const std::vector<int>& starts = script.line_starts;
    return (int)(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin());
}

Script_cover& Coverage::script(const std::string& path) {
    auto [at, added] = scripts.try_emplace(path);
    Script_cover& s = at->second;
    if (!added) return s;
    s.bytes = Script_bytes(path);
    s.read.assign(s.bytes.size(), false);
    s.line_starts.assign(1, 0);
    for (size_t i = 0; i + 1 < s.bytes.size(); i++)
        if (s.bytes[i] == '\n') s.line_starts.push_back((int)i + 1);
    return s;
}

void Coverage::add_trouble(const std::string& place, const std::string& what) {
    for (const Trouble& t : troubles)
        if (t.place == place && t.what == what) return;
    troubles.push_back(Trouble{route, place, what});
}

Cover_observer::Cover_observer(Coverage& c, std::function<void()> r) : coverage(c), on_return(std::move(r)) {}

void Cover_observer::sought(const std::string& path, bool found) {
    std::string file = In_folder(path);
    if (found) {
        coverage.used.insert(file);
        return;
    }
    missing_place = Box_place();
    coverage.add_trouble(missing_place, "missing " + Kind_of(file) + " " + file);
}

// A step that was never told its last byte (a character, a line end) read its first.
void Cover_observer::reads_from(int pos) {
    finish();
    missing_place.clear();
    step = pos;
    bool back = pos <= last_read;
    last_read = pos;
    if (back) on_return();
}

// A last byte before the first tells that the step read nothing: a '/' that skips the rest of its block.
void Cover_observer::read_up_to(int last) {
    if (step < 0) return;
    mark(step, last);
    step = -1;
}

void Cover_observer::finish() { read_up_to(step); }

// A file_change: what its step read belongs to the script before.
void Cover_observer::loaded(const char* path) {
    read_up_to(game.cur);
    current_path = In_folder(Game_file_path(path));
    current = &coverage.script(current_path);
    current->loaded = true;
    last_read = INT_MAX;
}

std::pair<std::string, int> Cover_observer::step_place() const {
    if (!current) return {};
    return {current_path, Line_of(*current, step >= 0 ? step : game.cur)};
}

void Cover_observer::offered(const char* const*) {
    choice = step_place();
    if (!choice.first.empty()) coverage.choices.try_emplace(choice);
}

void Cover_observer::paused(Pause kind) {
    if (kind == Pause::CHOICE || kind == Pause::START_MENU) menu = step_place();
}

std::string Cover_observer::menu_place() const { return menu.first + ":" + std::to_string(menu.second); }

void Cover_observer::chose(int k) {
    if (!choice.first.empty() && k >= 1 && k <= 3) coverage.choices[choice][(size_t)k - 1] = true;
}

// A box that tells again of the missing file just reported is not a trouble of its own.
void Cover_observer::boxed(const char* text, const char* caption, const char* detail) {
    std::string place = Box_place();
    if (!missing_place.empty() && place == missing_place) {
        missing_place.clear();
        return;
    }
    coverage.add_trouble(place, Box_line(text, caption, detail));
}

void Cover_observer::mark(int from, int last) {
    if (!current) return;
    int end = std::min(last, (int)current->bytes.size() - 1);
    for (int i = std::max(from, 0); i <= end; i++) current->read[(size_t)i] = true;
}
