// The reader's screens (the history, and the menus to come): drawn over the presented picture, never
// into the story's surfaces. While one is open the story stands still (no scheduler pass; its
// timers resume where they were when the last screen closes) and every key and mouse message goes
// to the topmost screen, never to the engine; paint and the music's notice still reach it.
#pragma once

#include "reader.h"

#include <memory>
#include <string>

// The window's layers the screens are drawn in, over the presented picture at the window's own
// resolution: the screens take them from 0 upward, the indicators of a mode lie over them, and the
// notice over all.
constexpr int LAYER_BACKDROP = 0;
constexpr int LAYER_SCREEN = 1;
constexpr int LAYER_INDICATOR = WINDOW_LAYERS - 2;
constexpr int LAYER_NOTICE = WINDOW_LAYERS - 1;

// What a screen draws on: its area of the picture at the window's own resolution. Positions and
// sizes are the picture's; the canvas scales them, and its text is never under 16 window pixels.
struct Canvas {
    Surface* surface; // the area, in window pixels
    double scale;     // window pixels a picture pixel
    Rect area;        // the area, in the picture's pixels
    Font* font;       // the screens' face at the canvas's scale
    void fill(int left, int top, int right, int bottom, COLORREF color);
    void text(int x, int y, const std::string& bytes, COLORREF color);
};
constexpr int SCREEN_FONT = 16; // the screens' text height, in picture pixels

struct Screen {
    virtual ~Screen() = default;
    // A key or mouse message, positions in picture coordinates. The screen may close itself.
    virtual void input(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Where the screen lies on the picture, and its drawing there, whole.
    virtual Rect area() const = 0;
    virtual void draw(Canvas& canvas) = 0;
};

// Opens a screen on top; refused (false) under a message box, where the engine is half-way through.
bool Screen_open(std::unique_ptr<Screen> screen);
// Closes the topmost screen; the story plays on once none is left.
void Screen_close();
bool Screen_is_open();
// A new run of the reader begins: screens left from a run before go, unseen and untold.
void Screens_forget();
// Draws the screens again, after one of them changed or the window did.
void Screen_redraw();
// The reader's procedure gives a screen's messages here: true when a screen took it.
bool Screen_input(UINT message, WPARAM wParam, LPARAM lParam);
