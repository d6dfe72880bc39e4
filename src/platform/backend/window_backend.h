// What a backend gives for the window and its events: the clock, the event pump, the single-instance
// lock, the window and its presentation, and the modal box.
#pragma once

#include "desktop_draw.h"
#include "desktop_window.h"
#include "window/layers.h"

#include <string>

// Where a backend delivers what happens outside: input and window events become messages for
// the game window, in the order they happened.
using Event_sink = void (*)(UINT message, WPARAM wParam, LPARAM lParam);

class Window_backend {
  public:
    virtual ~Window_backend() = default;

    // time
    virtual DWORD ticks() = 0;
    virtual void sleep(DWORD ms) = 0;

    // Moves the events that have happened by now into the sink. Called by PeekMessage.
    virtual void pump(Event_sink sink) = 0;
    // Waits until an event may be there to pump, or ms have passed. The headless clock moves on
    // to the earlier of that and its next scripted input.
    virtual void wait_event(DWORD ms) = 0;
    // Ends a wait_event under way; safe from any thread (a message posted from the audio thread).
    virtual void wake() = 0;

    // single instance: another holder of the same class and caption
    virtual bool instance_running(const std::string& key) = 0;
    virtual bool claim_instance(const std::string& key) = 0;

    // the window (one at a time)
    virtual bool open_window(const char* class_name, const char* caption, int width, int height,
                             const Icon& icon) = 0;
    virtual void close_window() = 0;
    virtual Rect desktop_rect() = 0;
    virtual Rect window_rect() = 0;
    virtual void move_window(int x, int y) = 0;
    virtual void show_window() = 0;
    // Shows the rectangles of the frame that changed since the last call (none: nothing changed),
    // with the layers over them where they meet; a window exposed since shows the whole frame again.
    virtual void present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) = 0;
    // Draws the client rectangle part again as Client_draw draws it (a layer was set, moved or taken
    // away): the frame beneath through the same scaling, the bars, then the layers.
    virtual void repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) = 0;
    // The reader's sizes: the client area (the picture scales into it) and desktop fullscreen.
    virtual void set_client_size(int width, int height) = 0;
    virtual void client_size(int* width, int* height) = 0;
    virtual void set_fullscreen(bool on) = 0;
    virtual bool fullscreen() = 0;
    // The desktop's clipboard given UTF-8 text; false where there is none to give it to.
    virtual bool set_clipboard(const std::string& text) {
        (void)text;
        return false;
    }

    // A modal box in steps. box_open shows it, text and caption in UTF-8. box_turn runs one turn of
    // its loop: dispatch_pending runs the game window's messages and answers false once the loop must
    // end (a quit request); the answer is whether the box is still open. box_close takes it away.
    // Boxes nest: turns and the close concern the box opened last.
    virtual void box_open(const std::string& text, const std::string& caption) = 0;
    virtual bool box_turn(bool (*dispatch_pending)()) = 0;
    virtual void box_close() = 0;

    // Files for a backend whose game folder lies elsewhere (the browser's, fetched over the network):
    // bring_file makes the game file at path, as found, whole on the file system before it is opened,
    // or takes it away when it cannot be had; persist carries what was written to lasting storage,
    // false when that failed. The desktop's files are where they are.
    virtual void bring_file(const std::string& path) { (void)path; }
    virtual bool persist() { return true; }
};
