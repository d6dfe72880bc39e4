// The SDL backend's gamepads: every controller SDL has a mapping for, opened as it is plugged in
// (or found at the start) and closed as it goes, its buttons, left stick and triggers told to the
// game window as the desktop's gamepad keys.
#pragma once

#include "backend/window_backend.h"

#include <SDL.h>

#include <map>

class Sdl_pads {
  public:
    ~Sdl_pads();
    // Once the game window is open: SDL's controllers start, and tell the pads already plugged in.
    void start();
    // Reads the pads' devices into SDL's events: before each pass's events are taken. SDL would
    // otherwise read them itself, and wake every millisecond of every wait while any joystick is
    // plugged in (a laptop's motion sensor counts), to do so.
    void update();
    // The longest the loop may wait for events: SDL's waits do not wake for a pad, which is read
    // at the next pass, so a plugged pad is read about sixty times a second and a new one is found
    // within a second.
    DWORD longest_wait() const;
    // The d-pad's, the stick's and the shoulders' keys held down come again, as a held arrow key does.
    void repeat(Event_sink sink);
    // A controller's event as key messages: true when e was one.
    bool route(const SDL_Event& e, Event_sink sink);
    // The event is a press of A or B: what answers a message box.
    static bool Answers_box(const SDL_Event& e);

  private:
    struct Pad {
        SDL_GameController* controller;
        uint32_t held;          // its keys down, a bit each from VK_GAMEPAD_A
        WPARAM repeating = 0;   // the key that comes again while held, if any
        Uint32 repeat_tick = 0; // when it comes next
    };
    void key(Pad& pad, WPARAM vk, bool down, Event_sink sink);
    void half(Pad& pad, WPARAM vk, int value, Event_sink sink);
    void axis(Pad& pad, const SDL_ControllerAxisEvent& a, Event_sink sink);
    void removed(SDL_JoystickID id, Event_sink sink);

    std::map<SDL_JoystickID, Pad> pads;
    bool started = false;
};
