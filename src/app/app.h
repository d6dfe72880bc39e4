// The application on top of the engine: start-up, the main loop one turn at a time, the scheduler
// and the window procedure. Nothing below this layer includes it.
#pragma once

#include "core.h"

#include <string>
#include <vector>

// The window class name, the caption and both keys of the single-instance test.
constexpr char TITLE[] = "Veltrane Ver0.10";

// ---- start-up, main loop (winmain.cpp); Game_end, declared in core.h, is defined here too
// Main_start, then Main_loop. Returns the exit code.
int WinMain(const Instance* instance, const Instance* prev_instance, const char* command_line,
            int show_command);
// Everything before the loop: refuses a second copy, opens the window, runs Game_init. 1 when the
// loop may start; 0 with *exit_code set when the program ends here (a second copy, no window).
int Main_start(const Instance* instance, int show_command, int* exit_code);
// The loop of WinMain after Main_start: Main_turn until the quit message; after each idle turn it
// sleeps 1 ms, then on until a task is due or input comes. Returns the exit code.
int Main_loop();
// What one turn of the main loop did.
constexpr int TURN_QUIT = 0;    // fetched the quit message: the loop ends
constexpr int TURN_MESSAGE = 1; // dispatched one message
constexpr int TURN_IDLE = 2;    // found the queue empty and ran one scheduler pass
// One turn: the next message fetched and dispatched, or, when none waits, one Game_tick. A host
// that owns its loop calls it once per turn; *exit_code is set with TURN_QUIT.
int Main_turn(int* exit_code);
int Center_window(Window* window);
void Game_init();

// ---- the programs' command line (play_options.cpp)
// Where an author starts a story to try a later scene: a script of the game folder, a label in it,
// and flags turned on. Empty, the story starts as ever.
struct Play_options {
    std::string script;     // --script txt/chapter3.tda
    std::string label;      // --label '*scene2'
    std::vector<int> flags; // --flag N, repeatable
};
// The lines of a program's usage that tell these options.
extern const char PLAY_OPTIONS_USAGE[];
// Takes argv[*i] when it is one of these options, with its value (*i is left on the value): 1 when
// taken, 0 when argv[*i] is none of them, -1 when its value is missing or bad (*error says why).
int Read_play_option(int argc, char** argv, int* i, Play_options* options, std::string* error);
constexpr int EXIT_BAD_START = 2; // Main_play's code when the options name what is not there
// WinMain, with the story moved where the options say once Game_init has run. A script, label or
// flag that is not there is told on stderr under the program's name, and the program ends at once
// with EXIT_BAD_START.
int Main_play(const Instance* instance, const Play_options& options, const char* program);

// ---- the scheduler (scheduler.cpp)
// One pass: the task of every mode that is on, in fixed order, then a present every 13 ms at most.
void Game_tick();
// Milliseconds until a pass has work: the next step of a mode that is on, or the present of a
// picture drawn since the last one; INFINITE when only input can bring work.
DWORD Next_due();
// After the loop slept through passes that would only have presented an unchanged picture:
// present_tick moves on as those passes would have moved it, every 13 ms, so that the next
// picture is shown when it always was.
void Skip_idle_presents();

// ---- input (wndproc.cpp)
LRESULT WndProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// A left press, Enter or Space: ends a click-wait, a halt (the program) or a page-wait.
void On_click();
