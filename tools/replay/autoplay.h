// Auto-play for veltrane-replay: clicks waits that have lasted long enough, picks choices and
// start menus, and photographs (or hands on) every wait and choice, watching the engine once a loop turn.
#pragma once

#include "headless.h"

#include <functional>
#include <string>
#include <vector>

struct Autoplay_options {
    bool auto_click = false;
    DWORD click_after = 0;          // virtual ms a click-wait, page-wait or halt lasts before the click
    std::vector<int> choices;       // 1 to 3, for successive choice menus; later menus are left alone
    std::function<int()> pick;      // asked at each menu after those: 1 to 3, or 0 to leave it alone
    bool start_menu = false;        // press the button of every start menu
    std::string shots_dir;          // empty: no pictures
    std::function<void()> at_pause; // called at every click-wait, page-wait and choice, when set
};

class Autoplay {
  public:
    Autoplay(Headless& headless, Autoplay_options options);
    // Called at the start of every loop turn.
    void turn();
    // False once a picture could not be written (the reason went to stderr).
    bool shots_written() const { return shots_ok; }

  private:
    void on_choice();
    void on_menu();
    // A press at x, y let go held ms later.
    void click(DWORD at, int x, int y, DWORD held);
    void paused(const char* kind); // a click-wait, page-wait or choice begins
    void shot(const char* kind);

    Headless& headless;
    Autoplay_options options;
    int was_waiting = 0, was_choosing = 0, was_menu = 0; // what the last turn saw
    DWORD wait_began = 0;
    bool wait_clicked = false;
    size_t next_choice = 0;
    int shot_count = 0;
    bool shots_ok = true;
};
