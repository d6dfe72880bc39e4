// The reader's screens (the history, and the menus to come): drawn over the presented picture, never
// into the story's surfaces. While one is open the story stands still (no scheduler pass; its
// timers resume where they were when the last screen closes) and every key and mouse message goes
// to the topmost screen, never to the engine; paint and the music's notice still reach it.
#pragma once

#include "reader.h"

#include <memory>

struct Screen {
    virtual ~Screen() = default;
    // A key or mouse message, positions in picture coordinates. The screen may close itself.
    virtual void input(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the screen whole onto the picture-sized surface (the story's picture already on it).
    virtual void draw(Surface* picture) = 0;
};

// Opens a screen on top; refused (false) under a message box, where the engine is half-way through.
bool Screen_open(std::unique_ptr<Screen> screen);
// Closes the topmost screen; the story plays on once none is left.
void Screen_close();
bool Screen_is_open();
// Draws the screens again, after one of them changed or the window did.
void Screen_redraw();
// The reader's procedure gives a screen's messages here: true when a screen took it.
bool Screen_input(UINT message, WPARAM wParam, LPARAM lParam);
