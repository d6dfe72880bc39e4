// The SDL backend's X11 calls, kept apart: Xlib's Window and Font would clash with the platform's.
#pragma once

#include <SDL.h>

#include <string>

// On X11 (elsewhere it does nothing): the window's legacy name, WM_NAME, reads as its caption, once
// SDL has set the window up.
void Name_x11_window(SDL_Window* window, const std::string& caption);
