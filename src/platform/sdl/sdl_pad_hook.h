// A test's stand-in gamepad: with VELTRANE_TEST_PAD naming a pipe, each line written to it plugs a
// virtual controller into SDL or out again, or moves its buttons and axes, so that its events come
// through SDL's controllers exactly as a real pad's: "attach", "detach", "press a", "release dpdown",
// "axis triggerleft 32767" (SDL's names of buttons and axes). A line that says nothing of these is passed
// over.
#pragma once

#include <SDL.h>

#include <atomic>
#include <thread>

class Sdl_pad_hook {
  public:
    ~Sdl_pad_hook();
    // Once SDL's controllers have started: the pipe is read on a thread of its own, when one is named.
    void start();
    // A line of the pipe, come as an SDL event on the main thread: true when e was one.
    bool route(const SDL_Event& e);

  private:
    void read_pipe();
    void post(const char* line);
    void attach();
    void detach();

    Uint32 line_event = 0;
    int fd = -1;
    std::atomic<bool> stopping{false};
    std::thread reader;
    SDL_Joystick* joystick = nullptr; // the virtual controller, while plugged in
};
