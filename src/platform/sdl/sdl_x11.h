// The SDL backend's X11 calls, kept apart: Xlib's Window and Font would clash with the platform's.
#pragma once

#include <SDL.h>

#include <string>

// On X11 (elsewhere they do nothing). Once SDL has opened the display: a lost connection ends the
// program at once with code 1 (SDL 2.26 sets no handler of its own for it, Xlib's exits slowly).
void Watch_x11_connection();
// Once SDL has set the window up: the window's legacy name, WM_NAME, reads as its caption.
void Name_x11_window(SDL_Window* window, const std::string& caption);
// The window's size as the X server has it: false off X11. Without a window manager a fullscreen
// request changes only SDL's idea of the size, never the window's.
bool X11_window_size(SDL_Window* window, int* width, int* height);
