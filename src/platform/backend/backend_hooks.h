// What a backend for tests and tools adds to the desktop services: it hears every audio call as the
// engine made it and every game-folder file looked for, may do without the frame's pixels, and may refuse a
// surface or a font. Desktop backends and the engine never need this; only shared platform code asks.
#pragma once

#include "desktop_sound.h"

#include <string>

class Backend_hooks {
  public:
    virtual ~Backend_hooks() = default;
    // Each PlaySound and mciSendString as the engine called it.
    virtual void sound_called(const char* sound, DWORD flags) = 0;
    virtual void mci_called(const char* command, MCIERROR result, const char* reply) = 0;
    // Each game-folder path resolved: the path on disk, or as it would be when nothing was found.
    virtual void file_sought(const std::string& path, bool found) = 0;
    // Whether present needs the frame's pixels; a backend without a screen skips the copy.
    virtual bool shows_frames() = 0;
    // Asked at each surface or font made: true refuses it, as a desktop short of memory would.
    virtual bool refuse_surface() = 0;
    virtual bool refuse_font() = 0;
};

// The hooks of the backend in use; null for one without them.
Backend_hooks* Current_hooks();
// Registers the hooks of the backend just made current; choosing the next backend forgets them.
void Set_hooks(Backend_hooks* hooks);
