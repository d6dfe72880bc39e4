// The application shell: start-up and the main loop, the scheduler, input, the named surfaces,
// and the small drawing, geometry and message routines every part of the engine shares.
#pragma once

#include "game_state.h"

// The window class name, the caption and both keys of the single-instance test.
constexpr char Title[] = "Veltrane Ver0.10";
constexpr int SCREEN_W = 640;
constexpr int SCREEN_H = 480;

// ---- start-up, main loop, end (winmain.cpp)
// Refuses a second copy, opens the window, runs Game_init, then the loop: one message a turn,
// Game_tick only in a turn that finds the queue empty. Returns the exit code.
int WinMain(const Instance* instance, const Instance* prev_instance, const char* command_line, int show_command);
int Center_window(Window* window);
void Game_init();
// Requests the end: stops the MIDI music, the MP3 music and the sound effect, in that order, and
// posts the quit message. The caller and the rest of the current tick still run.
void Game_end();

// ---- state defaults and the scheduler (game_state.cpp, scheduler.cpp)
void Text_defaults();
void Input_reset();
// One pass: the task of every mode that is on, in fixed order, then a present every 13 ms at most.
void Game_tick();
// 1 once interval ms have passed since start; wraps with the 32-bit tick counter.
int Tick_elapsed(DWORD start, DWORD interval);
int Tick_mark(DWORD* tick);

// ---- input (wndproc.cpp)
LRESULT WndProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// A left press, Enter or Space: ends a click-wait, a halt (the program) or a page-wait.
void On_click();

// ---- surfaces (surfaces.cpp)
Surface* Surface_create(int width, int height);
// Surface_create for a command that can go on without the surface: a failure is shown under the
// command's caption and gives null.
Surface* Surface_needed(int width, int height, const char* caption);
void Surface_destroy(Surface* surface);
// Copies 640 x 480 from the image file's top-left onto the target; 1 when loaded.
int Load_Bmp(Surface* target, const char* path);
// "BS", "BG" or "PT" to its surface; any other name ends the program and gives BS.
Surface* Get_game_DC(const char* name);
void Present();
void Fill_rect(Surface* dc, int left, int top, int right, int bottom, COLORREF color);

// ---- geometry and messages (helpers.cpp)
Rect Rect_make(int left, int top, int right, int bottom);
Rect Rect_offset(int left, int top, int right, int bottom, int dx, int dy);
// 1 when the last mouse position lies strictly inside.
int Pt_in_rect(int left, int top, int right, int bottom);
// A modal box with OK only; text and caption are CP932.
int Msg_box(const char* text, const char* caption);
// The same with arg (CP932) put in place of the "%s" of format; arg is cut, never mid-character,
// so that the message fits its 256-byte buffer whole.
int Msg_box_arg(const char* format, const char* arg, const char* caption);
// snprintf into a fixed buffer of size bytes (CP932), cut if need be before a character that does
// not fit whole; 1 when everything fit.
int Format_whole(char* out, size_t size, const char* format, ...);
// Values from scripts are added and multiplied as the 32-bit machine does: wrapping, never overflowing.
inline int32_t Add32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }
inline int32_t Sub32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }
inline int32_t Mul32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a * (uint32_t)b); }
