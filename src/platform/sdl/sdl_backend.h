// Inside the SDL backend: the game window and the dialogs share one SDL event queue.
#pragma once

#include "../backend.h"

#include <SDL.h>

#include <string>
#include <vector>

// One open message box: its window, what it shows, and whether it is done.
struct Sdl_dialog {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Surface* picture = nullptr;
    std::vector<std::string> lines; // the text, CP932, a line each
    SDL_Rect button{};
    bool pressed = false;   // the button is held down
    bool hovered = false;
    bool done = false;
    bool dirty = true;
};

// Builds, draws and runs a dialog window; the backend routes its events to Dialog_event.
bool Dialog_open(Sdl_dialog& d, const std::string& text, const std::string& caption);
void Dialog_event(Sdl_dialog& d, const SDL_Event& e);
void Dialog_draw(Sdl_dialog& d);
void Dialog_close(Sdl_dialog& d);

bool Sdl_video_start();
