// The routes of a story: the choices before a route forced, every new choice's first branch taken and
// its other branches left for later routes, depth first.
#include "routes.h"
#include "autoplay.h"
#include "script.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

namespace {

constexpr DWORD HELD_MS = 5000; // a choice or start menu pressed and still there this long cannot be taken

// What decides the story from here on: the script, the cursor, the flags, the text settings and the modes.
constexpr int GameState::*KEY_NUMBERS[] = {
    &GameState::cur,          &GameState::text_run,    &GameState::delay_run,  &GameState::wait_run,
    &GameState::halt_run,     &GameState::page_run,    &GameState::change_run, &GameState::select_run,
    &GameState::fade_out_run, &GameState::fade_in_run, &GameState::menu_state, &GameState::font_size,
    &GameState::char_width,   &GameState::line_height, &GameState::text_x,     &GameState::text_y,
    &GameState::area_left,    &GameState::area_top,    &GameState::area_right, &GameState::area_bottom,
    &GameState::text_wait};

std::string State_key() {
    std::string key(game.script_name, strnlen(game.script_name, sizeof game.script_name));
    auto put = [&](const auto& value) { key.append((const char*)&value, sizeof value); };
    for (int GameState::*field : KEY_NUMBERS) put(game.*field);
    put(game.text_color);
    put(game.shadow_color);
    key.append((const char*)game.flags, sizeof game.flags);
    return key;
}

// The coverage's observer and the caller's, told the same, the coverage's first.
class Both : public Observer {
  public:
    Both(Observer& first, Observer& second) : first(first), second(second) {}
    void typed(const char* bytes, int length) override { tell(&Observer::typed, bytes, length); }
    void wrapped() override { tell(&Observer::wrapped); }
    void paused(Pause kind) override { tell(&Observer::paused, kind); }
    void boxed(const char* text, const char* caption, const char* detail) override {
        tell(&Observer::boxed, text, caption, detail);
    }
    void offered(const char* const* lines) override { tell(&Observer::offered, lines); }
    void no_room() override { tell(&Observer::no_room); }
    void chose(int k) override { tell(&Observer::chose, k); }
    void loaded(const char* path) override { tell(&Observer::loaded, path); }
    void reads_from(int pos) override { tell(&Observer::reads_from, pos); }
    void read_up_to(int last) override { tell(&Observer::read_up_to, last); }

  private:
    template <class... Params, class... Args> void tell(void (Observer::*what)(Params...), Args... args) {
        (first.*what)(args...);
        (second.*what)(args...);
    }
    Observer &first, &second;
};

class Explorer {
  public:
    Explorer(const Route_options& o, Coverage& c, Route_observer* w) : options(o), coverage(c), watching(w) {}
    // Every route within the budget; false when the story cannot start.
    bool explore();

  private:
    void begin(const std::vector<int>& route);
    bool play(const std::vector<int>& route);
    void end();
    int pick();
    void on_return();
    void watch_held(const Cover_observer& watcher);
    void stop();

    const Route_options& options;
    Coverage& coverage;
    Route_observer* watching;
    uint64_t budget_ms = (uint64_t)options.minutes * 60000;
    std::set<std::string> chosen;          // the states of the choices whose branches are taken
    std::vector<std::vector<int>> to_play; // routes still to play, by the choices that lead there
    // the route playing now
    Headless* headless = nullptr;
    std::vector<int> forced;                // the choices it takes before its own
    std::vector<std::vector<int>> branched; // the routes to the new choices it met
    std::set<std::string> returns;          // its states where it came back, since its last choice
    bool stopped = false;                   // ended here, not by the budget
    int shown = 0;                          // 1 a choice, 2 a start menu on the screen, 0 neither
    DWORD shown_since = 0;
};

bool Explorer::explore() {
    to_play.push_back({});
    while (!to_play.empty() && !coverage.budget_spent) {
        if ((uint64_t)coverage.routes >= options.routes || coverage.virtual_ms >= budget_ms) {
            coverage.budget_spent = true;
            break;
        }
        std::vector<int> route = to_play.back();
        to_play.pop_back();
        if (!play(route)) return false;
    }
    return true;
}

// A clean story and reader on a fresh headless backend, for a route that takes these choices first.
void Explorer::begin(const std::vector<int>& route) {
    Surfaces_free();
    game = GameState{};
    reader = Reader{};
    reader.settings_file = false;
    headless = &Use_headless_backend(options.start_tick);
    forced = route;
    branched.clear();
    returns.clear();
    stopped = false;
    shown = 0;
    coverage.route.clear();
}

bool Explorer::play(const std::vector<int>& route) {
    begin(route);
    Headless& h = *headless;
    Cover_observer watcher(coverage, [this] { on_return(); });
    std::optional<Both> both;
    if (watching) both.emplace(watcher, *watching);
    h.on_file([&](const std::string& path, bool found) { watcher.sought(path, found); });
    Autoplay_options hand;
    hand.auto_click = hand.start_menu = true;
    hand.pick = [this] { return pick(); };
    Autoplay autoplay(h, hand);
    bool watching_now = false;
    // the first turn comes before the first step: the history's observer gives way to the coverage's
    h.on_turn([&] {
        if (!watching_now) {
            watching_now = true;
            if (watching) watching->route_begins();
            observer = both ? (Observer*)&*both : &watcher;
            if (*game.script_name) observer->loaded(game.script_name);
            reader.settings.text_speed = Text_speed::INSTANT;
        }
        autoplay.turn();
        watch_held(watcher);
    });
    h.stop_at((DWORD)std::min<uint64_t>(budget_ms - coverage.virtual_ms, UINT32_MAX));
    static const Instance instance{nullptr, 0};
    int code = Main_play(&instance, options.play, options.program);
    watcher.finish();
    observer = nullptr;
    h.on_turn({});
    h.on_file({});
    end();
    return code != EXIT_BAD_START;
}

// The route is over: its time is counted, and the other branches of each new choice it met are left
// for later routes, depth first, the second before the third.
void Explorer::end() {
    coverage.routes++;
    coverage.virtual_ms += headless->elapsed();
    if (headless->stopped_by_deadline() && !stopped) coverage.budget_spent = true;
    for (const std::vector<int>& at : branched)
        for (int k : {3, 2}) {
            to_play.push_back(at);
            to_play.back().push_back(k);
        }
}

// A choice: the route's own when it is still on the way there; a new one takes its first branch,
// and one met before in the same state ends the route, since what follows has been played.
int Explorer::pick() {
    int k = 1;
    if (coverage.route.size() < forced.size()) {
        k = forced[coverage.route.size()];
    } else if (!chosen.insert(State_key()).second) {
        stop();
        return 0;
    } else {
        coverage.choice_states++;
        branched.push_back(coverage.route);
    }
    coverage.route.push_back(k);
    returns.clear();
    return k;
}

// Back where the story has been, in the same state, with no choice between: it goes round for ever.
void Explorer::on_return() {
    if (stopped || returns.insert(State_key()).second) return;
    coverage.add_trouble(Place_of(game.cur), "endless loop: the story comes back here unchanged");
    stop();
}

// A choice or a start menu still there long after auto-play pressed it is one the mouse cannot reach:
// a reader would be held there for ever.
void Explorer::watch_held(const Cover_observer& watcher) {
    int showing = game.select_run == 1 ? 1 : game.menu_state == MENU_SHOWN ? 2 : 0;
    if (showing != shown) {
        shown = showing;
        shown_since = headless->elapsed();
    }
    if (!showing || stopped || headless->elapsed() - shown_since < HELD_MS) return;
    coverage.add_trouble(watcher.menu_place(), showing == 1 ? "no line of this choice can be clicked"
                                                            : "the start menu's button cannot be clicked");
    stop();
}

void Explorer::stop() {
    stopped = true;
    headless->stop_at(headless->elapsed());
}

// The first script a route starts with, found once: each route then names it as it is on disk.
bool Find_first_script(Route_options& options) {
    Play_options& play = options.play;
    if (play.script.empty()) {
        if (std::filesystem::is_regular_file(Game_file_path(".\\txt\\config.tda"))) return true;
        std::fprintf(stderr, "%s: there is no txt/config.tda in the game folder\n", options.program);
        return false;
    }
    char why[512];
    if (!Script_first(play.script.c_str(), why, sizeof why)) {
        std::fprintf(stderr, "%s: %s\n", options.program, why);
        return false;
    }
    play.script = Cp932_to_utf8(game.script_name);
    return true;
}

} // namespace

bool Play_routes(Route_options options, Coverage& coverage, Route_observer* watching) {
    if (!Find_first_script(options)) return false;
    // every route makes and frees the same pictures: kept by the allocator rather than handed back to the
    // system and faulted in afresh at the next route, they cost a third of the time
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    return Explorer(options, coverage, watching).explore();
}
