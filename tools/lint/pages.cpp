// The pages a reader will see, found by watching the engine lay them out on every route: where its wrap
// by width puts a closing mark first on a line or an opening mark last, where text falls below the text
// area, and where a choice finds no room for its menu.
#include "pages.h"
#include "lint_internal.h"
#include "replay/routes.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <tuple>

namespace {

// What a line should not start with, and what it should not end with.
constexpr std::array<std::string_view, 31> CLOSING = {
    "。", "、", "」", "』", "）", "】", "〕", "！", "？", "・", "ー", "ぁ", "ぃ", "ぅ", "ぇ", "ぉ",
    "っ", "ゃ", "ゅ", "ょ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ッ", "ャ", "ュ", "ョ", "，", "．"};
constexpr std::array<std::string_view, 5> OPENING = {"「", "『", "（", "【", "〔"};

template <size_t N> bool Among(const std::array<std::string_view, N>& marks, const std::string& c) {
    return std::find(marks.begin(), marks.end(), c) != marks.end();
}

// A byte of a script of the folder ("txt/a.tda").
struct Spot {
    std::string script;
    int pos = 0;
};

struct Finding {
    size_t script; // the script's place among those the routes loaded, in the order they did
    int line;
    bool error;
    std::string message;
};

// " (after choices 2, 1)", or nothing before the first choice.
std::string After(const std::vector<int>& route) {
    if (route.empty()) return "";
    std::string out = route.size() == 1 ? " (after choice " : " (after choices ";
    for (size_t i = 0; i < route.size(); i++) out += (i ? ", " : "") + std::to_string(route[i]);
    return out + ")";
}

class Page_watch : public Route_observer {
  public:
    Page_watch(Coverage& c, bool l) : coverage(c), line_breaks(l) {}
    void route_begins() override;
    void loaded(const char* path) override;
    void reads_from(int pos) override;
    void typed(const char* bytes, int length) override;
    void wrapped() override;
    void no_room() override;
    // The findings, and a warning first when the budget ran out before every route was played.
    Lint_result result(const Route_options& options) const;

  private:
    void add(const Spot& at, bool error, const std::string& what, const std::string& message);
    void check_wrap(const Spot& here, const std::string& c);

    Coverage& coverage;
    bool line_breaks;
    std::vector<std::string> scripts;                         // in the order the routes loaded them
    std::set<std::tuple<std::string, int, std::string>> told; // each finding's script, line and kind
    std::vector<Finding> findings;
    // the route playing now
    std::string script;        // the script in script_buf
    int step = 0;              // where the step reading now began
    bool wrapping = false;     // the engine wrapped: the next step begins on the line it made
    bool wrapped_line = false; // and the line made begins at line_x, line_y
    int line_x = 0, line_y = 0;
    std::string last; // the character typed last, UTF-8
    Spot last_at;
    bool below = false; // it lay below the text area
};

void Page_watch::route_begins() {
    script.clear();
    wrapping = wrapped_line = below = false;
    last.clear();
}

void Page_watch::loaded(const char* path) {
    script = In_folder(Game_file_path(path));
    if (std::find(scripts.begin(), scripts.end(), script) == scripts.end()) scripts.push_back(script);
}

// A page ended by the wrap has been cleared by the time the next step begins: the cursor is then where
// the line the wrap made begins.
void Page_watch::reads_from(int pos) {
    step = pos;
    if (!wrapping) return;
    wrapping = false;
    wrapped_line = true;
    line_x = game.text_x;
    line_y = game.text_y;
}

void Page_watch::wrapped() {
    wrapping = true;
    wrapped_line = false;
}

void Page_watch::typed(const char* bytes, int length) {
    Spot here{script, game.cur};
    std::string c = Cp932_to_utf8(bytes, (size_t)length);
    // a cursor the script moved since the wrap (';', #page) is the author's own break
    if (wrapped_line && game.text_x == line_x && game.text_y == line_y) check_wrap(here, c);
    wrapped_line = false;
    int64_t bottom = (int64_t)game.text_y + game.font_size;
    if (bottom > game.area_bottom && !below)
        add(here, false, "below",
            "text runs past the bottom of the text area: drawn from y " + std::to_string(game.text_y) +
                " to " + std::to_string(bottom) + ", the area ends at " + std::to_string(game.area_bottom));
    below = bottom > game.area_bottom;
    last = c;
    last_at = here;
}

// The first character of a line the engine's wrap made, and the last of the line before it.
void Page_watch::check_wrap(const Spot& here, const std::string& c) {
    if (!line_breaks) return;
    if (Among(CLOSING, c))
        add(here, false, "starts " + c,
            c + " starts a line: the engine wraps the text by width just before it");
    if (Among(OPENING, last))
        add(last_at, false, "ends " + last,
            last + " ends a line: the engine wraps the text by width just after it");
}

void Page_watch::no_room() {
    add(Spot{script, step}, true, "room",
        "#select3 has no room for its menu below the text (the cursor at y " + std::to_string(game.text_y) +
            ", the text area ending at " + std::to_string(game.area_bottom) +
            "): the story ends here with a box; put a #page before it");
}

void Page_watch::add(const Spot& at, bool error, const std::string& what, const std::string& message) {
    if (at.script.empty()) return;
    int line = Line_of(coverage.script(at.script), at.pos);
    if (!told.emplace(at.script, line, what).second) return;
    size_t order = (size_t)(std::find(scripts.begin(), scripts.end(), at.script) - scripts.begin());
    findings.push_back(Finding{order, line, error, message + After(coverage.route)});
}

Lint_result Page_watch::result(const Route_options& options) const {
    std::vector<Finding> sorted = findings;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.script, a.line) < std::tie(b.script, b.line);
    });
    Lint_result out;
    if (coverage.budget_spent) {
        out.report = (scripts.empty() ? "txt/config.tda" : scripts[0]) +
                     ":1: warning: the routes ran past the budget of " + std::to_string(options.routes) +
                     " routes and " + std::to_string(options.minutes) +
                     " virtual minutes: the pages past it were not looked at\n";
        out.warnings++;
    }
    for (const Finding& f : sorted) {
        out.report += scripts[f.script] + ":" + std::to_string(f.line) +
                      (f.error ? ": error: " : ": warning: ") + f.message + "\n";
        (f.error ? out.errors : out.warnings)++;
    }
    return out;
}

} // namespace

Lint_result Lint_pages(bool line_breaks) {
    if (!Game_file_found(".\\txt\\config.tda")) return {};
    Coverage coverage;
    Page_watch watch(coverage, line_breaks);
    Route_options options;
    options.program = "veltrane-lint";
    Play_routes(options, coverage, &watch);
    return watch.result(options);
}
