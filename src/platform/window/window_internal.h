// What the window and the message queue share inside the platform.
#pragma once

#include "desktop_draw.h"
#include "desktop_window.h"
#include "layers.h"

#include <memory>
#include <string>

struct Window {
    std::string class_name;
    std::string caption;
    WNDPROC proc = nullptr;
    bool alive = false;
    std::unique_ptr<Surface, Surface_deleter> frame; // the picture last presented
    Layer_stack layers;                              // shown over it in the client area
};

// The game window, alive or destroyed; null before one is created.
Window* Game_window();
// Forgets the window and the registered classes (a new backend starts from nothing).
void Reset_windows();
// Forgets every queued message and a pending quit.
void Reset_messages();
// Forgets the open music devices (their pieces belong to the backend that goes).
void Reset_music();
// Runs the messages that are waiting, for a modal box; false once a quit request arrives,
// which is put back for the main loop.
bool Dispatch_pending();
