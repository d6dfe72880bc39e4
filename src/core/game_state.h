// GameState: every field of the engine, in one record, one instance for the life of the process.
#pragma once

#include "pictures.h"

constexpr int SCRIPT_BUF_SIZE = 65536;
constexpr int MENU_SHOWN = 201; // menu_state while the start menu is shown

struct GameState {
    // ---- platform handles
    const Instance* app_instance = nullptr;
    Window* main_window = nullptr;
    WindowDC* window_dc = nullptr;

    // ---- surfaces
    Surface* bs_surface = nullptr;    // BS, 640 x 480: the work surface, presented
    Surface* bg_surface = nullptr;    // BG, 640 x 480: the background
    Surface* pt_surface = nullptr;    // PT, 75 x 25: cursor sprite, mask and save slot
    Surface* menu_surface = nullptr;  // 600 x 200, only while the start menu is shown
    Surface* select_normal = nullptr; // 640 x 480, only while a choice is open
    Surface* select_hilite = nullptr; // 640 x 480, only while a choice is open
    Surface* fade_surface = nullptr;  // 640 x 480, only during a fade-out

    // ---- input (the last mouse message)
    int mouse_buttons = 0; // MK_ word; the left button counts as held when this equals 1
    int mouse_x = 0;
    int mouse_y = 0;

    // ---- modes: on only at 1 (menu_state at MENU_SHOWN)
    int text_run = 0;
    int delay_run = 0;
    int wait_run = 0;
    int halt_run = 0;
    int page_run = 0;
    int change_run = 0;
    int select_run = 0;
    int fade_out_run = 0;
    int fade_in_run = 0;
    int menu_state = 0;

    // ---- timers and task progress
    DWORD present_tick = 0;
    uint64_t present_version = 0; // BS's version at the last present: a later one is still to show
    DWORD text_tick = 0;
    int delay_ms = 0;
    DWORD delay_tick = 0;
    DWORD blink_tick = 0;
    int wait_phase = 0;
    int page_phase = 0;
    DWORD change_tick = 0;
    int change_step = 0;
    int change_kind = 0; // 0 CURTAIN, 1 SPREAD, 2 STRETCH_X, 3 STRETCH_Y
    DWORD fade_tick = 0;
    int fade_percent = 0;
    DWORD menu_tick = 0;
    DWORD blink_interval = 400;
    DWORD change_interval = 20;

    // ---- script
    unsigned char script_buf[SCRIPT_BUF_SIZE] = {};
    int cur = 0; // offset of the script cursor in script_buf
    char word_buf[512] = {};
    char line_buf[512] = {};
    unsigned char flags[256] = {};
    char script_name[256] = {}; // the path of the script in script_buf, as it was named

    // ---- the author's terminal
    int tell_stderr = 0; // 1 (set by the programs): every box is also a stderr line, with its script line

    // ---- text settings and the text cursor
    int font_size = 0;
    int char_width = 0;
    int line_height = 0;
    int text_x = 0;
    int text_y = 0;
    int area_left = 0;
    int area_top = 0;
    int area_right = 0;
    int area_bottom = 0;
    int text_wait = 0;
    COLORREF text_color = 0;
    COLORREF shadow_color = 0;

    // ---- menus
    int menu_arg_x = 0, menu_arg_y = 0;
    int menu_x = 0, menu_y = 0;
    int menu_w = 200, menu_h = 200;
    int menu_save_x = 400, menu_save_y = 0;
    Rect menu_button = START_BUTTON;
    Rect choice_rect[3] = {};

    // ---- audio
    int bgm_playing = 0;
    int bgm_kind = 0; // a Music_kind (audio.h)
    char bgm_path[256] = {};
    int se_playing = 0;
    int se_loop = 0;        // the effect last started loops
    char se_path[256] = {}; // and its path, so that a restored story hears it again
};

extern GameState game;
