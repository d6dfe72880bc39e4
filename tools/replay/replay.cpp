// veltrane-replay: plays a game folder on the headless backend with scripted input, printing the
// message boxes and the end as they happen, and optionally snapshots and the final state.
#include "autoplay.h"
#include "cover.h"
#include "events.h"
#include "headless.h"
#include "png.h"
#include "reader.h"
#include "save_format.h"
#include "state_json.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

constexpr char Usage[] =
    "usage: veltrane-replay [options] GAME_DIR\n"
    "  --until MS           stop after MS ms of virtual time (default 600000)\n"
    "  --start-tick N       the tick count at the start of the run (default 0), to cross the 32-bit wrap\n"
    "  --events FILE        input events, one a line: \"<ms> <event> [args]\", ms counted from the start;"
    " '#' starts a comment\n"
    "  --event \"EVENT\"      one event in the same form; repeatable\n"
    "  --shot MS=FILE.png   write the work surface BS as a 640 x 480 PNG when the virtual time reaches MS;"
    " repeatable\n"
    "  --state              print the final state as one JSON object on the last line\n"
    "  --auto-click MS      click every click-wait, page-wait and halt once it has lasted MS ms\n"
    "  --choose 1,3,2       pick these choices in successive choice menus (later menus are left alone)\n"
    "  --start-menu         press the button of every start menu\n"
    "  --shots DIR          write a PNG of the work surface into DIR at every click-wait, page-wait and "
    "choice\n"
    "  --read-marks DIR     read the pages read from DIR and write them there (without it none are read "
    "or written)\n"
    "  --save-at-waits DIR  write a save into DIR at every click-wait, page-wait and choice (wait-0001.sav, "
    "...), as the reader's slots hold them\n"
    "  --cover              play every route of the story, each choice's every branch, and report the "
    "lines,\n"
    "                       labels, choices and files no route reached and the routes that went wrong;\n"
    "                       exit code 1 when a script is below --require, 2 when the story cannot start\n"
    "  --routes N           with --cover: play N routes at most (default 2000)\n"
    "  --minutes M          with --cover: play M virtual minutes at most, all routes together (default 600)\n"
    "  --require P          with --cover: exit with 1 when a script has under P per cent of its lines "
    "reached\n"
    "  --json               with --cover: the report as one JSON object\n";
// then the options to start elsewhere, then the events
constexpr char Usage_events[] =
    "events: move X Y | ldown X Y [shift] [ctrl] [right] | lup X Y | rdown X Y | rup X Y |"
    " wheel NOTCHES X Y | key KEY [alt] | keyup KEY [alt] | close | notify\n"
    "keys: RETURN SPACE ESCAPE TAB BACK DELETE CONTROL SHIFT MENU APPS PRIOR NEXT HOME END LEFT UP RIGHT DOWN"
    " F1..F12 A..Z, a gamepad's GAMEPAD_A GAMEPAD_B GAMEPAD_X GAMEPAD_Y GAMEPAD_DPAD_UP (_DOWN _LEFT _RIGHT)"
    " GAMEPAD_LEFT_SHOULDER GAMEPAD_RIGHT_SHOULDER GAMEPAD_LEFT_TRIGGER GAMEPAD_RIGHT_TRIGGER GAMEPAD_MENU"
    " GAMEPAD_VIEW GAMEPAD_LEFT_THUMBSTICK_UP (_DOWN _LEFT _RIGHT), or a virtual-key number (49 is the key "
    "1);"
    " hold Ctrl with key CONTROL until keyup CONTROL\n";

// A command line the tool cannot run; main reports it and exits with 2.
struct Usage_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr DWORD MINUTES_MAX = 60000; // a route's virtual time must stay well inside the 32-bit clock

struct Shot {
    DWORD ms;
    std::string path;
};

struct Options {
    DWORD until = 600000;
    DWORD start_tick = 0;
    std::vector<Replay_event> events;
    std::vector<Shot> shots;
    bool state = false;
    Autoplay_options autoplay;
    Play_options play;
    std::string read_marks; // the read marks' folder; empty: none
    std::string saves_dir;  // --save-at-waits; empty: no saves
    std::string game_dir;
    bool cover = false;
    Cover_options cover_options;
    std::vector<std::string> playing_given, cover_given; // options of a plain replay, and of --cover
};

bool Digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
bool Is_shot(const std::string& name) { // 0001-wait.png
    return name.size() > 9 && name[4] == '-' && name.ends_with(".png") && Digits(name.substr(0, 4));
}
bool Is_wait_save(const std::string& name) { // wait-0001.sav
    return name.starts_with("wait-") && name.ends_with(".sav") && name.size() >= 13 &&
           Digits(std::string_view(name).substr(5, name.size() - 9));
}

// The numbered files of an earlier run: a longer one would leave its later pictures or saves beside
// the new ones.
void Remove_earlier(const std::string& dir, bool (*numbered)(const std::string&)) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        if (numbered(name) && entry.is_regular_file(ec)) fs::remove(entry.path(), ec);
    }
}

// A folder an option writes into, made when missing and cleared of what an earlier run numbered.
void Prepare(const std::string& option, const std::string& dir, bool (*numbered)(const std::string&)) {
    if (dir.empty()) return;
    std::error_code ec;
    if (!fs::create_directories(dir, ec) && !fs::is_directory(dir))
        throw Usage_error(option + ": cannot make " + dir);
    Remove_earlier(dir, numbered);
}

// The options that only --cover takes a value for.
bool Of_cover(const std::string& arg) {
    return arg == "--routes" || arg == "--minutes" || arg == "--require";
}

bool Takes_value(const std::string& arg) {
    for (const char* option : {"--until", "--start-tick", "--events", "--event", "--shot", "--auto-click",
                               "--choose", "--shots", "--read-marks", "--save-at-waits"})
        if (arg == option) return true;
    return Of_cover(arg);
}

DWORD Number(const std::string& option, const std::string& text) {
    auto value = Parse_u32(text);
    if (!value) throw Usage_error(option + ": bad number '" + text + "'");
    return *value;
}

void Read_event_file(const std::string& path, Options* options) {
    // lines come from a file or a pipe; a device such as /dev/zero would never end
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))
        throw Usage_error("--events: " + path + " is not a file or a pipe");
    std::ifstream in(path);
    if (!in) throw Usage_error("--events: cannot read " + path);
    std::string error;
    if (!Parse_event_lines(in, path, &options->events, &error)) throw Usage_error(error);
}

void Read_event(const std::string& value, Options* options) {
    std::optional<Replay_event> event;
    std::string error;
    if (!Parse_event_line(value, &event, &error)) throw Usage_error("--event '" + value + "': " + error);
    if (event) options->events.push_back(*event);
}

// The path is made absolute now, since the run happens inside the game folder.
void Read_shot(const std::string& value, Options* options) {
    size_t eq = value.find('=');
    if (eq == std::string::npos || eq + 1 == value.size())
        throw Usage_error("--shot: expected MS=FILE, got '" + value + "'");
    DWORD ms = Number("--shot", value.substr(0, eq));
    options->shots.push_back(Shot{ms, fs::absolute(value.substr(eq + 1)).string()});
}

std::vector<int> Choice_list(const std::string& text) {
    std::vector<int> choices;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item != "1" && item != "2" && item != "3")
            throw Usage_error("--choose: '" + text + "' is not a list of 1, 2 and 3");
        choices.push_back(item[0] - '0');
    }
    if (choices.empty()) throw Usage_error("--choose: no choice given");
    return choices;
}

// A per cent, 0 to 100, fractions allowed.
double Percentage(const std::string& text) {
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !(value >= 0 && value <= 100))
        throw Usage_error("--require: '" + text + "' is not a percentage, 0 to 100");
    return value;
}

// A count of 1 or more, at most high.
DWORD Count(const std::string& option, const std::string& text, DWORD high) {
    DWORD value = Number(option, text);
    if (value < 1 || value > high)
        throw Usage_error(option + ": '" + text + "' is not 1 to " + std::to_string(high));
    return value;
}

void Apply_cover(const std::string& option, const std::string& value, Options* options) {
    Cover_options& cover = options->cover_options;
    if (option == "--routes")
        cover.routes = Count(option, value, UINT32_MAX);
    else if (option == "--minutes")
        cover.minutes = Count(option, value, MINUTES_MAX);
    else if (option == "--require")
        cover.require = Percentage(value);
}

void Apply(const std::string& option, const std::string& value, Options* options) {
    if (Of_cover(option))
        Apply_cover(option, value, options);
    else if (option == "--until")
        options->until = Number(option, value);
    else if (option == "--start-tick")
        options->start_tick = Number(option, value);
    else if (option == "--events")
        Read_event_file(value, options);
    else if (option == "--event")
        Read_event(value, options);
    else if (option == "--shot")
        Read_shot(value, options);
    else if (option == "--auto-click") {
        options->autoplay.auto_click = true;
        options->autoplay.click_after = Number(option, value);
    } else if (option == "--choose")
        options->autoplay.choices = Choice_list(value);
    else if (option == "--shots")
        options->autoplay.shots_dir = fs::absolute(value).string();
    else if (option == "--read-marks")
        options->read_marks = fs::absolute(value).string();
    else if (option == "--save-at-waits")
        options->saves_dir = fs::absolute(value).string();
}

Options Parse_args(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i], error;
        int taken = Read_play_option(argc, argv, &i, &options.play, &error);
        if (taken < 0) throw Usage_error(error);
        if (taken) continue;
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            std::fputs(Play_options_usage().c_str(), stdout);
            std::fputs(Usage_events, stdout);
            std::exit(0);
        } else if (arg == "--cover") {
            options.cover = true;
        } else if (arg == "--json") {
            options.cover_options.json = true;
            options.cover_given.push_back(arg);
        } else if (arg == "--state" || arg == "--start-menu") {
            (arg == "--state" ? options.state : options.autoplay.start_menu) = true;
            options.playing_given.push_back(arg);
        } else if (Takes_value(arg)) {
            if (i + 1 == argc) throw Usage_error(arg + " needs a value");
            Apply(arg, argv[++i], &options);
            if (arg != "--start-tick")
                (Of_cover(arg) ? options.cover_given : options.playing_given).push_back(arg);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Usage_error("unknown option " + arg);
        } else if (!options.game_dir.empty()) {
            throw Usage_error("more than one GAME_DIR: " + arg);
        } else {
            options.game_dir = arg;
        }
    }
    if (options.cover && !options.playing_given.empty())
        throw Usage_error("--cover plays by itself: " + options.playing_given[0] + " does not go with it");
    if (!options.cover && !options.cover_given.empty())
        throw Usage_error(options.cover_given[0] + " goes with --cover");
    if (options.game_dir.empty()) throw Usage_error("no GAME_DIR given");
    if (!fs::is_directory(options.game_dir)) throw Usage_error("no such directory: " + options.game_dir);
    Prepare("--shots", options.autoplay.shots_dir, Is_shot);
    Prepare("--save-at-waits", options.saves_dir, Is_wait_save);
    return options;
}

// Line feeds would split a box's line in two: they print as \n, and a backslash as \\, so that
// ".\MIDI\nofile.mid" reads back as written.
std::string One_line(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? "\\n" : c == '\\' ? "\\\\" : std::string(1, c);
    return out;
}

void Print_box(const Headless_box& box) {
    std::printf("box %u %s\t%s\n", (unsigned)box.ms, One_line(box.caption).c_str(),
                One_line(box.text).c_str());
    std::fflush(stdout);
}

bool Take_shot(const Shot& shot) {
    std::string error = "the work surface does not exist yet";
    if (game.bs_surface && Write_png(*game.bs_surface, shot.path, &error)) return true;
    std::fprintf(stderr, "veltrane-replay: shot at %u ms, %s: %s\n", (unsigned)shot.ms, shot.path.c_str(),
                 error.c_str());
    return false;
}

// --save-at-waits: a save file at each pause, in the reader's slots' format, numbered in order.
struct Wait_saves {
    std::string dir;
    int count = 0;
    bool written = true;

    void Write() {
        char name[32];
        std::snprintf(name, sizeof name, "/wait-%04d.sav", ++count);
        std::string bytes = Save_encode(reader.game_id, GetTickCount());
        if (!bytes.empty() && Write_whole(dir + name, bytes)) return;
        std::fprintf(stderr, "veltrane-replay: save %s%s: cannot be written\n", dir.c_str(), name);
        written = false;
    }
};

// Plays the folder (the working directory by now); returns the exit code.
int Run(Options options) {
    Wait_saves saves{options.saves_dir};
    if (!saves.dir.empty()) options.autoplay.at_pause = [&saves] { saves.Write(); };
    Headless& headless = Use_headless_backend(options.start_tick);
    headless.on_box(Print_box);
    for (const Replay_message& m : To_messages(options.events))
        headless.inject(m.ms, m.message, m.wParam, m.lParam);
    Autoplay autoplay(headless, options.autoplay);
    headless.on_turn([&] { autoplay.turn(); });
    bool shots_written = true;
    for (const Shot& shot : options.shots)
        headless.call_at(shot.ms, [&, shot] { shots_written &= Take_shot(shot); });
    headless.stop_at(options.until);
    static const Instance instance{nullptr, 0};
    game.tell_stderr = 1; // each box also on stderr, with its script and line, as the real program writes it
    // a replay plays as it would for a reader who never changed a setting, and leaves the file alone
    reader.settings_file = false;
    reader.read_marks_dir = options.read_marks;
    int code = Main_play(&instance, options.play, "veltrane-replay");
    if (code == EXIT_BAD_START) return code;
    if (!headless.stopped_by_deadline()) std::printf("quit %u\n", (unsigned)headless.elapsed());
    for (const Shot& shot : options.shots)
        if (shot.ms > headless.elapsed())
            std::fprintf(stderr, "veltrane-replay: no shot at %u ms: the run ended at %u ms\n",
                         (unsigned)shot.ms, (unsigned)headless.elapsed());
    if (options.state) std::printf("%s\n", State_json(game, headless.elapsed()).c_str());
    return code == 0 && shots_written && autoplay.shots_written() && saves.written ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = Parse_args(argc, argv);
    } catch (const Usage_error& e) {
        std::fprintf(stderr, "veltrane-replay: %s\n", e.what());
        return 2;
    }
    std::error_code ec;
    fs::current_path(options.game_dir, ec);
    if (ec) {
        std::fprintf(stderr, "veltrane-replay: cannot enter %s: %s\n", options.game_dir.c_str(),
                     ec.message().c_str());
        return 2;
    }
    if (!options.cover) return Run(options);
    options.cover_options.play = options.play;
    options.cover_options.start_tick = options.start_tick;
    return Cover(options.cover_options);
}
