// The settings file: the window as the reader left it, read at the start and written at the end.
#pragma once

#include "reader.h"

struct Settings {
    int width = 0, height = 0; // the client size out of fullscreen; 0 when never chosen
    bool fullscreen = false;
};
// The game's settings; the defaults when the file is missing, unreadable or malformed.
Settings Settings_read();
bool Settings_write(const Settings& settings);
