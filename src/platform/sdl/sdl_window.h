// The SDL backend's game window: its placement and sizes, where the picture lies in it, and the
// changed parts of a frame presented on the window's own surface (sdl_present.cpp).
#pragma once

#include "desktop_window.h"
#include "window/layers.h"

#include <SDL.h>

// Starts SDL's video, once, for the game window or a box; false without a display.
bool Sdl_video_start();

class Sdl_window {
  public:
    ~Sdl_window() { close(); }
    bool open(const char* class_name, const char* caption, int width, int height, const Icon& icon);
    void close();
    bool is_open() const { return window != nullptr; }
    Uint32 id() const { return window_id; }

    Rect desktop_rect() const;
    Rect frame_rect() const;
    void move(int x, int y);
    void show();
    void set_client_size(int width, int height);
    void client_size(int* width, int* height) const;
    void set_fullscreen(bool on);
    bool fullscreen() const;
    bool maximized() const;

    // What the window's events tell: it was exposed; SDL was told a new size, and the client area
    // has the size the window really has (false when that is the same).
    void expose() { exposed = true; }
    bool resize(int width, int height);
    // A client position as a position on the picture: false when it is outside an unscaled window,
    // which then has no bars to clamp from.
    bool to_picture(int x, int y, LPARAM* at) const;

    void present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers);
    void repaint(const Surface& frame, const Rect& part, const Layer_stack& layers);

  private:
    bool Fail(const char* what);
    void Set_icon(const Icon& icon);
    bool Unscaled() const { return client_w == pic_w && client_h == pic_h; }
    bool In_client(int x, int y) const { return x >= 0 && y >= 0 && x < client_w && y < client_h; }
    void Copy_to_screen(const Surface& frame, const SDL_Rect* rects, int n);
    SDL_Surface* Target();
    int Draw_client(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count,
                    SDL_Rect* out);
    int Draw_scaled(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count,
                    SDL_Rect* out);
    void Draw_layers(const Surface& frame, const Layer_stack& layers, const SDL_Rect* rects, int n);
    void Update(const SDL_Rect* rects, int n);
    void Present_resized(const Surface& frame, const Layer_stack& layers);
    void Real_size(int* width, int* height) const;

    SDL_Window* window = nullptr;
    SDL_Surface* screen = nullptr; // the window's own pixels
    Uint32 window_id = 0;
    int client_w = 0, client_h = 0;
    int pic_w = 0, pic_h = 0;      // the picture's own size: the client size the window opened with
    View view{};                   // where the picture lies in the client area
    bool resized = false;          // the window's surface must be fetched again and drawn whole
    SDL_Surface* canvas = nullptr; // the scaled picture, for a window surface of another format
    bool exposed = false;
};
