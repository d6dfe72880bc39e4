// The reader layer: the desktop's (and any host's) comforts in front of the engine: the window's
// size and fullscreen, save and restore, skip, and the notices that tell what they did. A script
// cannot tell they exist; a reader who uses none of them gets the engine exactly as it is. This
// header holds the layer's state and its host: the options, the start, the loop and the end.
#pragma once

#include "app.h"
#include "settings.h"

#include <string>
#include <vector>

// What the reader layer keeps: nothing here is the story's.
struct Reader {
    bool ctrl = false, shift = false; // held, as the key messages tell
    int request_slot = -1;            // a save or restore asked for, carried out after the turn
    bool request_save = false;        // which of the two
    bool skip_waiting = false;        // skipping, and a click-wait or page-wait has begun
    DWORD skip_wait_tick = 0;         // when it began
    bool auto_on = false;             // auto mode: a click-wait or page-wait ends by itself
    bool auto_waiting = false;        // auto mode, and a click-wait or page-wait has begun
    DWORD auto_wait_tick = 0;         // when it began
    bool skip_mode = false;           // skip mode (Tab): read pages pass as while Ctrl is held
    int pad_triggers = 0;             // a gamepad's triggers held, a bit each: they skip as Ctrl does
    int key_item = -1;                // the item of the open choice or start menu the arrow keys point at
    bool key_press = false;           // the keyboard's pick: a left press held until its menu closes
    std::string read_marks_dir;       // the folder of the read marks; empty: none read nor written
    int scale_option = 0;             // --scale N; 0 when not given
    bool fullscreen_option = false;   // --fullscreen
    bool settings_file = true;        // the settings are read from and written to the game's file
    Settings settings;                // the window's size and mode (as the last WM_SIZE told) and the choices
    bool size_changed = false;        // the reader changed size, mode or a setting: remember them
    std::string game_id;              // the game's name for its saves, settings and read marks
    std::string path_game_id;         // the name earlier versions gave it, keyed by the folder's path
    std::string id_option;            // the name given with --id (a published story's), else none
    bool speak_option = false;        // --speak: read aloud in this run, whatever the setting
    const char* program = "veltrane"; // the program's name, for what it tells on stderr
    bool notice_shown = false;        // a notice lies over the picture (never drawn into BS)
    std::string notice_text;          // what it says (CP932)
    DWORD notice_tick = 0;            // since when
};

extern Reader reader;

// ---- the host (reader.cpp)
// The command line's wishes, before the start: open at scale times the picture (1 to 8), or fullscreen.
void Reader_options(int scale, bool fullscreen);
// Once the window is open: its size and mode from the options, else as the reader left them last time.
void Reader_start();
// The desktop's loop over Main_turn: the reader's work before each scheduler pass, its requests
// carried out between turns, its sleep until the engine or the reader has work. At the quit
// message the size and mode are remembered (when the reader chose them); returns the exit code.
int Reader_loop();

// ---- the story started where an author asks (play.cpp)
// Where an author starts a story to try a later scene: a script of the game folder, a label in it,
// and flags turned on. Empty, the story starts as ever.
struct Play_options {
    std::string script;     // --script txt/chapter3.tda
    std::string label;      // --label '*scene2'
    std::vector<int> flags; // --flag N, repeatable
    std::string id;         // --id NAME: the story's name for its saves, as published
    bool watch = false;     // --watch (veltrane's own): the page runs again as the author saves its script
    std::string text_out;   // --text-out PATH: the story's text as lines of UTF-8 (text_out.h)
    bool speak = false;     // --speak: pages and choices read aloud
};
// The lines of a program's usage that tell these options.
std::string Play_options_usage();
// Takes argv[*i] when it is one of these options, with its value (*i is left on the value): 1 when
// taken, 0 when argv[*i] is none of them, -1 when its value is missing or bad (*error says why).
int Read_play_option(int argc, char** argv, int* i, Play_options* options, std::string* error);
constexpr int EXIT_BAD_START = 2; // Main_play's code when the options name what is not there
// The engine with the reader in front: the folder watched when asked (live_edit.h), Main_start,
// Reader_start, the story moved where the options say, then Reader_loop. A write past the file-size limit
// fails rather than ending the program. A script, label or flag that is not there, or a watch that cannot
// begin, is told on stderr under the program's name, and the program ends at once with EXIT_BAD_START.
int Main_play(const Instance* instance, const Play_options& options, const char* program);
