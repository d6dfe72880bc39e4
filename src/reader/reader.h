// The reader's comforts, in front of the window procedure: the window's size and fullscreen, save
// and restore, skip, and the short notices that tell what they did. A script cannot tell they exist;
// a reader who uses none of them gets the engine exactly as it is.
#pragma once

#include "core.h"

#include <string>

constexpr int SAVE_SLOTS = 10;       // 0 the quick slot (F5, F9), 1 to 9 with Shift or Ctrl
constexpr DWORD SKIP_WAIT = 60;      // ms a click-wait or page-wait lasts while Ctrl is held
constexpr int SKIP_STEPS = 4096;     // text steps at most in one pass while skipping: input still comes
constexpr DWORD NOTICE_SHOWN = 2000; // ms a notice stays over the picture

// What the reader layer keeps: nothing here is the story's.
struct Reader {
    bool ctrl = false, shift = false; // held, as the key messages tell
    bool top_level = false;           // the message in hand comes from the main loop, not from a box
    bool skip_waiting = false;        // skipping, and a click-wait or page-wait has begun
    DWORD skip_wait_tick = 0;         // when it began
    int scale_option = 0;             // --scale N; 0 when not given
    bool fullscreen_option = false;   // --fullscreen
    int width = 0, height = 0;        // the client size, as the last WM_SIZE told it
    bool fullscreen = false;          // the mode the reader chose last
    bool size_changed = false;        // the reader changed size or mode: remember it
    std::string game_id;              // the game folder, as a name for its saves and settings
    bool notice_shown = false;        // a notice lies over the picture (never drawn into BS)
    DWORD notice_tick = 0;            // since when
};

extern Reader reader;

// ---- the layer (reader.cpp)
// The command line's wishes, before WinMain: open at scale times the picture (1 to 8), or fullscreen.
void Reader_options(int scale, bool fullscreen);
// Once the window is open: its size and mode from the options, else as the reader left them last time.
void Reader_start();
// At the end of the loop: the size and mode are remembered for the next run, when the reader chose them.
void Reader_end();
// The game window's procedure: the reader's keys are taken here, every other message goes to WndProc.
LRESULT Reader_proc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// Before each scheduler pass: skip's work while Ctrl is held, and the end of a notice.
void Reader_tick();
// Milliseconds until Reader_tick has work; INFINITE when it has none.
DWORD Reader_due();

// ---- notices (notice.cpp)
// Shows text (CP932) over the picture for NOTICE_SHOWN ms.
void Notice_show(const char* text);
void Notice_end();

// ---- the settings file (reader_files.cpp): the window as the reader left it
struct Settings {
    int width = 0, height = 0; // the client size out of fullscreen; 0 when never chosen
    bool fullscreen = false;
};
// The game's settings; the defaults when the file is missing, unreadable or malformed.
Settings Settings_read();
bool Settings_write(const Settings& settings);

// ---- save and restore (save_state.cpp, reader_files.cpp)
// The story's whole state as a save file's bytes, its times relative to now.
std::string Save_encode(const std::string& game_id, DWORD now);
// Checks a save file's bytes whole and, when every check passes, makes it the story's state:
// nullptr. Otherwise the reason (CP932) and nothing changed.
const char* Save_restore(const std::string& bytes, const std::string& game_id, DWORD now);
// The two halves of a save file: the state's bytes packed behind the header (magic, format version,
// sizes, checksum, game), and unpacked again once the header and checksum hold (else the reason).
std::string Save_pack(const std::string& state, const std::string& game_id);
const char* Save_unpack(const std::string& bytes, const std::string& game_id, std::string* state);
// The slot's file, written whole or not at all: nullptr, else the reason (CP932).
const char* Save_to_slot(int slot);
const char* Restore_slot(int slot);
// The game folder's name for its saves and settings, from its absolute path.
std::string Game_id(const std::string& folder);
// A folder under the XDG base directory (XDG_DATA_HOME or XDG_CONFIG_HOME, else its default under
// HOME): "" when neither is set.
std::string Xdg_dir(const char* variable, const char* fallback);
// Writes bytes to path through a temporary file, flushed and renamed over it: true when all is on disk.
bool Write_whole(const std::string& path, const std::string& bytes);
