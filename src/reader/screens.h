// The reader's screens (the history, and the menus to come): drawn over the presented picture, never
// into the story's surfaces. While one is open the story stands still (no scheduler pass; its
// timers resume where they were when the last screen closes) and every key and mouse message goes
// to the topmost screen, never to the engine; paint and the music's notice still reach it.
#pragma once

#include "reader.h"

#include <initializer_list>
#include <memory>
#include <string>

// The window's layers the screens are drawn in, over the presented picture at the window's own
// resolution: the screens take them from 0 upward, the indicators of a mode lie over them, and the
// notice over all.
constexpr int LAYER_BACKDROP = 0;
constexpr int LAYER_SCREEN = 1;
constexpr int LAYER_INDICATOR = WINDOW_LAYERS - 2;
constexpr int LAYER_NOTICE = WINDOW_LAYERS - 1;

// The room the screens lay out in, and where it lies in the window. Where the window shows the
// picture at its own size or larger, the room is the picture, its units the picture's pixels scaled
// up; in a smaller window it is the picture's place there, a unit a window pixel, so that the text
// keeps its size and the screens fit their rows to the room instead.
struct Room {
    int w, h;     // in units
    double scale; // window pixels a unit
    int x, y;     // its top-left corner, in client pixels
};
Room Screen_room();

// What a screen draws on: its area of the room at the window's own resolution. Positions and sizes
// are the room's units; the canvas scales them, and its text is never under 16 window pixels.
struct Canvas {
    Surface* surface; // the area, in window pixels
    double scale;     // window pixels a unit
    Rect area;        // the area, in the room's units
    Font* font;       // the screens' face at the canvas's scale
    void fill(int left, int top, int right, int bottom, COLORREF color);
    void text(int x, int y, const std::string& bytes, COLORREF color);
    int extent(const std::string& bytes) const; // the text's width, in units
    std::string fitting(int width,
                        std::initializer_list<const char*> texts) const; // the first no wider, else the last
};
constexpr int SCREEN_FONT = 16; // the screens' text height, in units

// A page count, "＜ 2/5 ＞", in a box whose top-right corner is at (right, top) in the room: a
// click on its left half turns back a page, on its right half on.
struct Pager {
    int right, top;
    void draw(Canvas& canvas, int page, int pages, COLORREF color) const;
    int turn(int x, int y) const; // -1 or 1; 0 off the box
};

struct Screen {
    virtual ~Screen() = default;
    // A key or mouse message, positions in the room's units. The screen may close itself.
    virtual void input(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Where the screen lies in the room, and its drawing there, whole.
    virtual Rect area() const = 0;
    virtual void draw(Canvas& canvas) = 0;
    // The height of the canvas's text, in units.
    virtual int font_units() const { return SCREEN_FONT; }
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
