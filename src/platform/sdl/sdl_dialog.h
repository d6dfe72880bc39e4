// One message box of the SDL backend: its own small window, what it shows, and whether it is done.
#pragma once

#include "desktop_draw.h"

#include <SDL.h>

#include <string>
#include <vector>

struct Sdl_dialog {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Surface* picture = nullptr;
    std::vector<std::string> lines; // the text, CP932, a line each
    SDL_Rect button{};
    bool pressed = false; // the button is held down
    bool hovered = false;
    bool done = false;
    bool dirty = true;
};

// Builds and shows the box's window (false when it cannot), hears the events routed to it, draws
// it when dirty, and takes it away.
bool Dialog_open(Sdl_dialog& d, const std::string& text, const std::string& caption);
void Dialog_event(Sdl_dialog& d, const SDL_Event& e);
void Dialog_draw(Sdl_dialog& d);
void Dialog_close(Sdl_dialog& d);
