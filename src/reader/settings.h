// The settings file: the window as the reader left it and the reader's choices, read at the start
// and written at the end.
#pragma once

#include "app.h"

// How fast text is typed, against the script's own text_wait (which stays the script's).
enum class Text_speed { SLOWER = -1, SCRIPT = 0, FASTER = 1, FASTEST = 2, INSTANT = 3 };

struct Settings {
    int width = 0, height = 0; // the client size out of fullscreen; 0 when never chosen
    bool fullscreen = false;
    Text_speed text_speed = Text_speed::SCRIPT;
    int auto_base = 1000;         // ms an auto wait lasts before its page's characters, 0 to 10000
    int music_volume = 100;       // percent
    int effect_volume = 100;      // percent
    bool skip_all = false;        // skip mode passes unread text too
    bool click_completes = false; // a click while text is typed shows the rest of the page
    bool speech = false;          // pages and choices read aloud
    int speech_rate = 0;          // the speech service's, -100 to 100
    int speech_volume = 100;      // the speech service's, -100 to 100
    int speech_voice = 0;         // an index of SPEECH_VOICES
    bool high_contrast = false;   // the reading view in white on black
};
// The game's settings; the defaults when the file is missing, unreadable or malformed.
// The game's settings file: "" when the reader has no home to keep it in.
std::string Settings_path(const std::string& game_id);
Settings Settings_read();
bool Settings_write(const Settings& settings);
// The reader's volumes made the desktop's, from a setting's percent.
void Settings_apply(const Settings& settings);
