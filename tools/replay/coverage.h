// What veltrane-replay --cover gathers over all its routes: the bytes of each script the stepper read,
// the choices offered and the branches picked, the files used, and what went wrong on the way.
#pragma once

#include "core.h"

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One script of the game folder as the loader reads it, and which of its bytes a step read.
struct Script_cover {
    std::vector<unsigned char> bytes; // up to the end mark, as the loader keeps them
    std::vector<bool> read;           // one per byte
    std::vector<int> line_starts;     // the first byte of each line
    bool loaded = false;              // a route loaded it
};

// Something a route met that the author should hear of: a box, a missing file, a loop without end.
struct Trouble {
    std::vector<int> route; // the choices that led there
    std::string place;      // "txt/b.tda:14"
    std::string what;       // UTF-8
};

struct Coverage {
    std::map<std::string, Script_cover> scripts; // by the path in the folder, "txt/a.tda"
    std::map<std::pair<std::string, int>, std::array<bool, 3>> choices; // by script and line: the picks
    std::set<std::string> used;        // the files found, by their path in the folder
    std::vector<Trouble> troubles;     // each once, with the first route to meet it
    std::vector<int> route;            // the choices of the route playing now
    int routes = 0, choice_states = 0; // routes played, choices whose picks were tried
    uint64_t virtual_ms = 0;           // the virtual time of every route together
    bool budget_spent = false;

    // The script at path (in the folder: "txt/a.tda"), read from disk the first time it is named.
    Script_cover& script(const std::string& path);
    void add_trouble(const std::string& place, const std::string& what);
};

// A path as the engine resolved it ("./txt/a.tda") as the folder holds it ("txt/a.tda").
std::string In_folder(const std::string& path);
// The 1-based line of a byte of the script.
int Line_of(const Script_cover& script, int pos);

// The story's observer while a route plays: marks what each step reads in the script in play, and
// tells the choices, boxes and files of the route to the coverage.
class Cover_observer : public Observer {
  public:
    // on_return is called whenever the story reads on at or before where it last read, or in another
    // script: the only ways it can come back to where it has been.
    Cover_observer(Coverage& coverage, std::function<void()> on_return);
    // A file of the folder the engine looked for (the headless backend's news).
    void sought(const std::string& path, bool found);
    // The route is over: the step it ended in is counted.
    void finish();

    void reads_from(int pos) override;
    void read_up_to(int last) override;
    void loaded(const char* path) override;
    void offered(const char* const* lines) override;
    void chose(int k) override;
    void boxed(const char* text, const char* caption, const char* detail) override;
    void paused(Pause kind) override;
    // Where the last choice or start menu was shown: "txt/a.tda:12", the line of its command.
    std::string menu_place() const;

  private:
    void mark(int from, int last);
    // The script and line of the step reading now.
    std::pair<std::string, int> step_place() const;

    Coverage& coverage;
    std::function<void()> on_return;
    Script_cover* current = nullptr; // the script in script_buf
    std::string current_path;
    int step = -1;      // where the step that is reading began; -1 between steps
    int last_read = -1; // where the last step or landing began; INT_MAX in a script just loaded
    std::pair<std::string, int> choice; // the script and line of the choice on the screen
    std::pair<std::string, int> menu;   // and of the last choice or start menu shown
    std::string missing_place;          // where a missing file was told: the box that follows says it again
};
