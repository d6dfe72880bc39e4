// The SDL backend's events: SDL's queue drained into game-window messages, box events handed to
// their boxes, and the hold after a press.
#pragma once

#include "backend/window_backend.h"
#include "sdl_boxes.h"
#include "sdl_pad_hook.h"
#include "sdl_pads.h"
#include "sdl_window.h"

class Sdl_events {
  public:
    Sdl_events(Sdl_window& window, Sdl_boxes& boxes) : window(window), boxes(boxes) {}
    void pump(Event_sink sink);
    // The main loop rests after every scheduler pass: the events behind a press are due then.
    void rest() { after_press = false; }
    // Rests until an event comes or ms have passed; video has started.
    void wait(DWORD ms);
    // Makes the event that ends a wait from another thread; once the game window is open.
    void make_wake_event();
    void wake();
    // Once the game window is open: the gamepads (and a test's stand-in pad) are heard from now on.
    void start_pads();

  private:
    bool route(const SDL_Event& e, Event_sink sink);
    void route_window(const SDL_WindowEvent& w, Event_sink sink);
    void key(const SDL_KeyboardEvent& k, Event_sink sink);
    void button(const SDL_MouseButtonEvent& b, Event_sink sink);
    void wheel(const SDL_MouseWheelEvent& w, Event_sink sink);
    WPARAM Mk_word() const;

    Sdl_window& window;
    Sdl_boxes& boxes;
    Uint32 wake_event = 0;    // pushed by other threads so that a wait for events ends
    bool after_press = false; // a press reached the game window: the rest waits for a pass
    WPARAM held = 0;          // mouse buttons down, as MK_ bits
    Sdl_pads pads;
    Sdl_pad_hook pad_hook; // after the pads: gone before them
};
