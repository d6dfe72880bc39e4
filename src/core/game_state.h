// GameState: every field of the engine, in one record, one instance for the life of the process;
// the one list of its fields, by name and kind; and the surfaces it can hold, with their sizes.
#pragma once

#include "pictures.h"

#include <cstddef>
#include <string_view>
#include <type_traits>

constexpr int SCRIPT_BUF_SIZE = 65536;
constexpr int MENU_SHOWN = 201;       // menu_state while the start menu is shown
constexpr DWORD BLINK_INTERVAL = 400; // ms between two blinks of the click cursor

// To add a field: declare it under its banner with its start value as its initializer (the value a
// story has before any script touches it: start-up may set it, but only to that value), and name it
// in Visit_fields at the same place. Nothing is bumped: a save made before the field existed restores
// it at that start value (a tick: the moment of the restore). A value the engine cannot run from gets
// a check in the save format's Consistent. GameState keeps no padding, so that the build can tell a
// field left out of the list (4-byte fields go in pairs next to an 8-byte one).
struct GameState {
    // ---- platform handles
    const Instance* app_instance = nullptr;
    Window* main_window = nullptr;
    WindowDC* window_dc = nullptr;

    // ---- surfaces (surface_slots below gives their sizes)
    Surface* bs_surface = nullptr;    // BS: the work surface, presented
    Surface* bg_surface = nullptr;    // BG: the background
    Surface* pt_surface = nullptr;    // PT: cursor sprite, mask and save slot
    Surface* menu_surface = nullptr;  // only while the start menu is shown
    Surface* select_normal = nullptr; // only while a choice is open
    Surface* select_hilite = nullptr; // only while a choice is open
    Surface* fade_surface = nullptr;  // only during a fade-out

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
    DWORD blink_interval = BLINK_INTERVAL;
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

// The surfaces a story can have alive, each with the one size it always has.
struct Surface_slot {
    const char* name;
    Surface* GameState::*surface;
    int width, height;
};
inline constexpr Surface_slot surface_slots[] = {
    {"bs_surface", &GameState::bs_surface, SCREEN_W, SCREEN_H},
    {"bg_surface", &GameState::bg_surface, SCREEN_W, SCREEN_H},
    {"pt_surface", &GameState::pt_surface, PARTS_PICTURE.width, PARTS_PICTURE.height},
    {"menu_surface", &GameState::menu_surface, START_PICTURE.width, START_PICTURE.height},
    {"select_normal", &GameState::select_normal, SCREEN_W, SCREEN_H},
    {"select_hilite", &GameState::select_hilite, SCREEN_W, SCREEN_H},
    {"fade_surface", &GameState::fade_surface, SCREEN_W, SCREEN_H},
};

// The kinds of field Visit_fields names, to overload a visitor's calls on.
struct Field_num {};   // int: a value of the story
struct Field_tick {};  // DWORD: a GetTickCount() time, saved as its age
struct Field_word {};  // DWORD: an interval or a colour
struct Field_text {};  // char[]: one text, ended by a NUL inside the buffer
struct Field_bytes {}; // unsigned char[]: the script, the flags
struct Field_rect {};  // Rect, or an array of them
struct Field_host {};  // this process's and its window's, not the story's: never saved nor compared

// Every field of GameState, in the order declared: v(name, member, kind) for each, with a
// Surface_slot as the kind of a surface.
template <class V> constexpr void Visit_fields(V& v) {
    v("app_instance", &GameState::app_instance, Field_host{});
    v("main_window", &GameState::main_window, Field_host{});
    v("window_dc", &GameState::window_dc, Field_host{});
    for (const Surface_slot& slot : surface_slots) v(slot.name, slot.surface, slot);
    v("mouse_buttons", &GameState::mouse_buttons, Field_num{});
    v("mouse_x", &GameState::mouse_x, Field_num{});
    v("mouse_y", &GameState::mouse_y, Field_num{});
    v("text_run", &GameState::text_run, Field_num{});
    v("delay_run", &GameState::delay_run, Field_num{});
    v("wait_run", &GameState::wait_run, Field_num{});
    v("halt_run", &GameState::halt_run, Field_num{});
    v("page_run", &GameState::page_run, Field_num{});
    v("change_run", &GameState::change_run, Field_num{});
    v("select_run", &GameState::select_run, Field_num{});
    v("fade_out_run", &GameState::fade_out_run, Field_num{});
    v("fade_in_run", &GameState::fade_in_run, Field_num{});
    v("menu_state", &GameState::menu_state, Field_num{});
    v("present_tick", &GameState::present_tick, Field_tick{});
    v("present_version", &GameState::present_version, Field_host{});
    v("text_tick", &GameState::text_tick, Field_tick{});
    v("delay_ms", &GameState::delay_ms, Field_num{});
    v("delay_tick", &GameState::delay_tick, Field_tick{});
    v("blink_tick", &GameState::blink_tick, Field_tick{});
    v("wait_phase", &GameState::wait_phase, Field_num{});
    v("page_phase", &GameState::page_phase, Field_num{});
    v("change_tick", &GameState::change_tick, Field_tick{});
    v("change_step", &GameState::change_step, Field_num{});
    v("change_kind", &GameState::change_kind, Field_num{});
    v("fade_tick", &GameState::fade_tick, Field_tick{});
    v("fade_percent", &GameState::fade_percent, Field_num{});
    v("menu_tick", &GameState::menu_tick, Field_tick{});
    v("blink_interval", &GameState::blink_interval, Field_word{});
    v("change_interval", &GameState::change_interval, Field_word{});
    v("script_buf", &GameState::script_buf, Field_bytes{});
    v("cur", &GameState::cur, Field_num{});
    v("word_buf", &GameState::word_buf, Field_text{});
    v("line_buf", &GameState::line_buf, Field_text{});
    v("flags", &GameState::flags, Field_bytes{});
    v("script_name", &GameState::script_name, Field_text{});
    v("tell_stderr", &GameState::tell_stderr, Field_host{});
    v("font_size", &GameState::font_size, Field_num{});
    v("char_width", &GameState::char_width, Field_num{});
    v("line_height", &GameState::line_height, Field_num{});
    v("text_x", &GameState::text_x, Field_num{});
    v("text_y", &GameState::text_y, Field_num{});
    v("area_left", &GameState::area_left, Field_num{});
    v("area_top", &GameState::area_top, Field_num{});
    v("area_right", &GameState::area_right, Field_num{});
    v("area_bottom", &GameState::area_bottom, Field_num{});
    v("text_wait", &GameState::text_wait, Field_num{});
    v("text_color", &GameState::text_color, Field_word{});
    v("shadow_color", &GameState::shadow_color, Field_word{});
    v("menu_arg_x", &GameState::menu_arg_x, Field_num{});
    v("menu_arg_y", &GameState::menu_arg_y, Field_num{});
    v("menu_x", &GameState::menu_x, Field_num{});
    v("menu_y", &GameState::menu_y, Field_num{});
    v("menu_w", &GameState::menu_w, Field_num{});
    v("menu_h", &GameState::menu_h, Field_num{});
    v("menu_save_x", &GameState::menu_save_x, Field_num{});
    v("menu_save_y", &GameState::menu_save_y, Field_num{});
    v("menu_button", &GameState::menu_button, Field_rect{});
    v("choice_rect", &GameState::choice_rect, Field_rect{});
    v("bgm_playing", &GameState::bgm_playing, Field_num{});
    v("bgm_kind", &GameState::bgm_kind, Field_num{});
    v("bgm_path", &GameState::bgm_path, Field_text{});
    v("se_playing", &GameState::se_playing, Field_num{});
    v("se_loop", &GameState::se_loop, Field_num{});
    v("se_path", &GameState::se_path, Field_text{});
}

// The build's checks on the list: every member and every name in it comes once, and the sizes of the
// members add up to GameState's. GameState has no padding, so a field declared and not named makes
// the sum fall short.
struct Listed_bytes {
    size_t total = 0;
    template <class T, class Kind> constexpr void operator()(const char*, T GameState::*, Kind) {
        total += sizeof(T);
    }
};
template <class T> struct Times_named {
    const char* name;
    T GameState::*member;
    int times = 0;
    template <class U, class Kind> constexpr void operator()(const char* other, U GameState::*m, Kind) {
        bool same = std::string_view(other) == name;
        if constexpr (std::is_same_v<U, T>) same = same || m == member;
        times += same;
    }
};
struct Named_once {
    bool once = true;
    template <class T, class Kind> constexpr void operator()(const char* name, T GameState::*m, Kind) {
        Times_named<T> count{name, m};
        Visit_fields(count);
        once = once && count.times == 1;
    }
};
constexpr bool List_whole() {
    Listed_bytes sum;
    Visit_fields(sum);
    Named_once each;
    Visit_fields(each);
    return each.once && sum.total == sizeof(GameState);
}
static_assert(List_whole(),
              "a GameState field is missing from Visit_fields or named twice, or needs padding");
