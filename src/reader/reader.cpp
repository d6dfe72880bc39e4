// The reader's host: the command line's wishes for the window, the window's size and mode from one
// run to the next, and the desktop's loop over the engine's turns.
#include "reader.h"
#include "history.h"
#include "keys.h"
#include "live_edit.h"
#include "read_marks.h"
#include "records.h"
#include "screens.h"
#include "settings.h"
#include "slots.h"
#include "speech.h"

#include <unistd.h>

#include <algorithm>

Reader reader;

namespace {

// A size larger than the desktop becomes the largest whole multiple of the picture that fits it: a
// window far past the screen is no use, and its pixels would cost memory for nothing.
void Fit_desktop(int* width, int* height) {
    Rect desk = GetDesktopRect();
    int desk_w = desk.right - desk.left, desk_h = desk.bottom - desk.top;
    if (desk_w <= 0 || desk_h <= 0 || (*width <= desk_w && *height <= desk_h)) return;
    int scale = std::max(1, std::min(desk_w / SCREEN_W, desk_h / SCREEN_H));
    *width = SCREEN_W * scale;
    *height = SCREEN_H * scale;
}

// At the end of the loop: the size, mode and choices are remembered for the next run, when the
// reader changed them, and the pages read.
void Reader_end() {
    if (reader.size_changed && reader.settings_file) Settings_write(reader.settings);
    Read_marks_end();
    Speech_end();
}

// The game's name, and what was kept under the name earlier versions gave it moved to it.
void Name_game(const std::string& folder) {
    reader.game_id.clear();
    reader.path_game_id.clear();
    if (folder.empty()) return;
    reader.game_id = reader.id_option.empty() ? Folder_game_id(folder) : Game_id(reader.id_option);
    reader.path_game_id = Path_game_id(folder);
    Adopt_path_keyed(Save_dir(reader.path_game_id), Save_dir(reader.game_id));
    Adopt_path_keyed(Settings_path(reader.path_game_id), Settings_path(reader.game_id));
    Adopt_path_keyed(Read_marks_path(reader.path_game_id), Read_marks_path(reader.game_id));
}

} // namespace

void Reader_options(int scale, bool fullscreen) {
    reader.scale_option = std::clamp(scale, 0, 8);
    reader.fullscreen_option = fullscreen;
}

void Reader_start() {
    char here[4096];
    Name_game(getcwd(here, sizeof here) ? here : "");
    Screens_forget();
    History_start();
    Records_start();
    Read_marks_start();
    Settings last = reader.settings_file ? Settings_read() : Settings{};
    reader.settings = last;
    reader.settings.speech = last.speech || reader.speak_option;
    Speech_settings(); // a reader who asked for speech learns at once when there is none
    Settings_apply(last);
    int width = last.width, height = last.height;
    bool full = reader.fullscreen_option || (reader.scale_option == 0 && last.fullscreen);
    if (reader.scale_option > 0) {
        width = SCREEN_W * reader.scale_option;
        height = SCREEN_H * reader.scale_option;
    }
    Fit_desktop(&width, &height);
    reader.settings.width = width ? width : SCREEN_W;
    reader.settings.height = height ? height : SCREEN_H;
    reader.size_changed = reader.scale_option > 0 || reader.fullscreen_option;
    if (width && (width != SCREEN_W || height != SCREEN_H)) {
        Set_client_size(game.main_window, width, height);
        Center_window(game.main_window);
    }
    // a fullscreen is remembered once it happens, as its WM_SIZE tells
    reader.settings.fullscreen = false;
    if (full) Set_fullscreen(game.main_window, true);
}

int Reader_loop() {
    int exit_code = 0;
    for (;;) {
        // under a reader screen the story stands still: messages only, no pass
        bool held = Screen_is_open();
        int turn = held ? Main_messages(&exit_code) : Main_turn(&exit_code, Reader_tick);
        if (turn == TURN_QUIT) {
            Reader_end();
            return exit_code;
        }
        Reader_requests();
        Live_edit_turn();
        Speech_turn();
        if (turn != TURN_IDLE) continue;
        if (!held) {
            Main_rest(Reader_due());
            continue;
        }
        Notice_tick();
        MsgWaitForMultipleObjects(0, nullptr, false, Reader_due(), QS_ALLINPUT);
    }
}
