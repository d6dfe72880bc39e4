// The application on top of the engine: start-up, the main loop one turn at a time, the scheduler
// and the window procedure. Nothing below this layer includes it.
#pragma once

#include "core.h"

#include <string>
#include <vector>

// The window class name, the caption and both keys of the single-instance test: data/title.txt,
// as the build reads it.
constexpr char TITLE[] = VELTRANE_TITLE;

// ---- start-up, main loop (winmain.cpp); Game_end, declared in core.h, is defined here too
// The bare engine: Main_start with WndProc, then Main_loop. Returns the exit code.
int WinMain(const Instance* instance, const Instance* prev_instance, const char* command_line,
            int show_command);
// Everything before the loop: refuses a second copy, opens the window with proc as its procedure
// (WndProc, or a host's procedure that hands WndProc what it does not take), runs Game_init. 1 when
// the loop may start; 0 with *exit_code set when the program ends here (a second copy, no window).
int Main_start(const Instance* instance, int show_command, int* exit_code, WNDPROC proc);
// The loop of WinMain after Main_start: Main_turn until the quit message, Main_rest after each idle
// turn. Returns the exit code.
int Main_loop();
// What one turn of the main loop did.
constexpr int TURN_QUIT = 0;    // fetched the quit message: the loop ends
constexpr int TURN_MESSAGE = 1; // dispatched one message
constexpr int TURN_IDLE = 2;    // found the queue empty (and Main_turn ran one scheduler pass)
// One turn: the next message fetched and dispatched, or, when none waits, before_pass (when given)
// and one Game_tick. A host that owns its loop calls it once per turn; *exit_code is set with TURN_QUIT.
int Main_turn(int* exit_code, void (*before_pass)() = nullptr);
// A turn that holds the story still: every waiting message is dispatched (paint, the music's notice,
// input), and no scheduler pass runs. TURN_MESSAGE when one was, TURN_IDLE when none waited.
int Main_messages(int* exit_code);
// After an idle turn: a ms's rest, as ever, then sleep on until a task is due, another due (a
// host's own, in ms from now) comes, or input comes.
void Main_rest(DWORD other_due = INFINITE);
int Center_window(Window* window);
void Game_init();

// ---- the scheduler (scheduler.cpp)
constexpr DWORD PRESENT_INTERVAL = 13; // ms: a pass presents once more than 12 have passed since the last
// One pass: the task of every mode that is on, in fixed order, then a present every PRESENT_INTERVAL
// at most.
void Game_tick();
// Milliseconds until a pass has work: the next step of a mode that is on, or the present of a
// picture drawn since the last one; INFINITE when only input can bring work.
DWORD Next_due();
// After the loop slept through passes that would only have presented an unchanged picture:
// present_tick moves on as those passes would have moved it, every PRESENT_INTERVAL, so that the next
// picture is shown when it always was.
void Skip_idle_presents();

// ---- input (wndproc.cpp)
LRESULT WndProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// A left press, Enter or Space: ends a click-wait, a halt (the program) or a page-wait.
void On_click();
