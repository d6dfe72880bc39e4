// The SDL backend's X11 calls, kept apart: Xlib's Window and Font would clash with the platform's.
#pragma once

#include <SDL.h>

#include <string>

// On X11 (elsewhere they do nothing). Once SDL has opened the display: a lost connection ends the
// program at once with code 1 (SDL 2.26 sets no handler of its own for it, Xlib's exits slowly).
void Watch_x11_connection();
// Once SDL has set the window up: the window's legacy name, WM_NAME, reads as its caption.
void Name_x11_window(SDL_Window* window, const std::string& caption);
