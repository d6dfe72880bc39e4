// The reader's keys, taken before the window procedure sees them, and skip while Ctrl is held.
#include "keys.h"
#include "choice_keys.h"
#include "gamepad.h"
#include "history.h"
#include "history_screen.h"
#include "interact.h"
#include "live_edit.h"
#include "menu.h"
#include "notice.h"
#include "reading_view.h"
#include "save_screen.h"
#include "screens.h"
#include "script.h"
#include "skip_mode.h"
#include "slots.h"
#include "speech.h"
#include "typing.h"

#include <algorithm>

namespace {

// The slot a key names, saving or not: F5 and F9 the quick slot, Shift or Ctrl with 1 to 9 the others.
int Slot_of(WPARAM key, bool* save) {
    if (key == VK_F5 || key == VK_F9) {
        *save = key == VK_F5;
        return 0;
    }
    if (key < '1' || key > '9' || reader.shift == reader.ctrl) return -1;
    *save = reader.shift;
    return (int)(key - '0');
}

bool Is_key(UINT message) { return message >= WM_KEYDOWN && message <= WM_SYSKEYUP; }

// Shift and Ctrl as the key messages tell, whoever takes them.
void Track_modifiers(UINT message, WPARAM key) {
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (key == VK_CONTROL) reader.ctrl = down;
    if (key == VK_SHIFT) reader.shift = down;
}

// True when the key is the reader's and has been acted on.
bool Reader_key(UINT message, WPARAM key, LPARAM lParam) {
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (!down) return false;
    bool repeat = (uint32_t)lParam & (1u << 30);
    // Alt+Enter comes as a system key, so it never reaches the engine as an Enter
    if ((message == WM_SYSKEYDOWN && key == VK_RETURN) || (message == WM_KEYDOWN && key == VK_F11)) {
        if (!repeat) Toggle_fullscreen();
        return true;
    }
    if (message == WM_KEYDOWN && key == VK_PRIOR) {
        History_open();
        return true;
    }
    if (message == WM_KEYDOWN && key == VK_TAB) {
        if (!repeat) Skip_mode_toggle();
        return true;
    }
    // the save screen's keys, beside the reader's menu
    if (message == WM_KEYDOWN && (key == VK_F1 + 1 || key == VK_F1 + 2)) {
        if (!repeat) Save_screen_open(key == VK_F1 + 1);
        return true;
    }
    bool plain = message == WM_KEYDOWN && !reader.ctrl && !reader.shift;
    if (plain && key == 'A') {
        if (!repeat) Toggle_auto();
        return true;
    }
    if (plain && key == 'V') {
        if (!repeat) Reading_view_open();
        return true;
    }
    // the keyboard's right-click
    if (plain && (key == 'M' || key == VK_APPS)) {
        if (!repeat) Menu_open();
        return true;
    }
    bool save = false;
    int slot = message == WM_KEYDOWN ? Slot_of(key, &save) : -1;
    if (slot < 0) return false;
    if (!repeat) Reader_request(slot, save);
    return true;
}

void Remember_size(LPARAM lParam) {
    reader.settings.fullscreen = Is_fullscreen(game.main_window);
    reader.size_changed = true;
    // the size out of fullscreen is the one to come back to
    if (reader.settings.fullscreen) return;
    reader.settings.width = (int)((uint32_t)lParam & 0xFFFF);
    reader.settings.height = (int)((uint32_t)lParam >> 16);
}

bool Waiting() { return game.wait_run == 1 || game.page_run == 1; }

// Until auto mode's wait has lasted its delay, then while its speech holds it, until the next look.
DWORD Auto_due() {
    DWORD left = Until(reader.auto_wait_tick, Auto_delay());
    return left || !Speech_holds(reader.auto_wait_tick) ? left : Speech_due();
}

// A click-wait or page-wait ends by itself once it has shown limit ms (while Ctrl is held, or in
// auto mode) and its speech lets it: waiting and since tell whether and since when the wait has been timed.
void End_wait_after(DWORD limit, bool spoken, bool& waiting, DWORD& since) {
    if (!Waiting()) {
        waiting = false;
        return;
    }
    if (!waiting) {
        waiting = true;
        Tick_mark(&since);
        return;
    }
    if (!Tick_elapsed(since, limit) || (spoken && Speech_holds(since))) return;
    waiting = false;
    if (game.wait_run == 1) Wait_end();
    if (game.page_run == 1) Page_end();
}

} // namespace

DWORD Until(DWORD start, DWORD interval) {
    DWORD passed = GetTickCount() - start;
    return passed >= interval ? 0 : interval - passed;
}

// What is remembered is what happens: the new size's WM_SIZE tells whether the screen is covered
// (without a window manager it never is).
void Toggle_fullscreen() {
    Set_fullscreen(game.main_window, !Is_fullscreen(game.main_window));
    reader.size_changed = true;
}

void Toggle_auto() {
    reader.auto_on = !reader.auto_on;
    reader.auto_waiting = false;
    Indicator_redraw();
    Notice_show(reader.auto_on ? Sjis("オートモード：オン") : Sjis("オートモード：オフ"));
}

// A save or a restore happens between two turns of the loop: under a message box, a routine of the
// engine is still half-way through, and the request is refused at once.
void Reader_request(int slot, bool save) {
    if (Box_is_open()) {
        Notice_show(Sjis("メッセージの表示中は保存も読み込みもできません"));
        return;
    }
    reader.request_slot = slot;
    reader.request_save = save;
}

LRESULT Reader_proc(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Is_key(message) && Is_pad_key(wParam)) {
        Pad_key(window, message, wParam, lParam);
        return 0;
    }
    if (Is_key(message)) Track_modifiers(message, wParam);
    if (Screen_input(message, wParam, lParam) || Typing_complete(message, wParam)) return 0;
    if (Is_key(message) && (Choice_key(message, wParam) || Reader_key(message, wParam, lParam))) return 0;
    Choice_keys_mouse(message);
    if (message == WM_MOUSEWHEEL && Wheel_delta(wParam) > 0) {
        History_open();
        return 0;
    }
    // the press and release still reach the engine, which only keeps the mouse's place from them
    if (message == WM_RBUTTONUP) {
        LRESULT result = WndProc(window, message, wParam, lParam);
        Menu_open();
        return result;
    }
    if (message == WM_SIZE) {
        Remember_size(lParam);
        Screen_redraw();
        Indicator_redraw();
        Notice_redraw();
    }
    // every mouse message tells what is held: a key released where the window could not see it
    // (under another window) ends skip at the next movement
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP) {
        reader.ctrl = wParam & MK_CONTROL;
        reader.shift = wParam & MK_SHIFT;
    }
    // the reader moves on: what is read aloud stops
    if (message == WM_LBUTTONDOWN || (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE)))
        Speech_stop();
    return WndProc(window, message, wParam, lParam);
}

void Reader_requests() {
    int slot = reader.request_slot;
    if (slot < 0) return;
    reader.request_slot = -1;
    bool save = reader.request_save, kept = false;
    const char* why = save ? Save_to_slot(slot) : Restore_slot(slot, &kept);
    if (!why && !save) {
        Speech_stop();
        reader.skip_waiting = reader.auto_waiting = false;
        History_reset();
    }
    std::string done = Slot_label(slot) + (save ? Sjis("に保存しました") : Sjis("から読み込みました"));
    // the story was updated since the save, and its place could not be found in the new text
    if (kept) done += Sjis("（この章は保存した時のまま続きます）");
    Notice_show(why ? why : done.c_str());
}

DWORD Auto_delay() {
    DWORD characters = 0;
    if (!History_pages().empty()) {
        const std::string& text = History_pages().back().text;
        for (size_t at = 0; at < text.size(); at += (unsigned char)text[at] >= 0x80 ? 2 : 1)
            characters += text[at] != '\n';
    }
    return (DWORD)reader.settings.auto_base + AUTO_PER_CHARACTER * characters;
}

void Reader_tick() {
    Choice_keys_tick();
    Notice_tick();
    History_watch();
    // the story's end ends auto mode: the halt waits for the reader's own click
    if (reader.auto_on && game.halt_run == 1) Toggle_auto();
    Skip_mode_watch();
    if (!Skipping()) {
        reader.skip_waiting = false;
        Typing_tick();
        if (reader.auto_on) End_wait_after(Auto_delay(), true, reader.auto_waiting, reader.auto_wait_tick);
        History_watch();
        return;
    }
    Speech_stop();
    End_wait_after(SKIP_WAIT, false, reader.skip_waiting, reader.skip_wait_tick);
    // a wait skip ended begins a page before its text is typed, and skip mode may stop at it
    History_watch();
    Skip_mode_watch();
    if (!Skipping()) return;
    Type_at_once();
}

void Notice_tick() {
    if (reader.notice_shown && Tick_elapsed(reader.notice_tick, NOTICE_SHOWN)) Notice_end();
}

DWORD Reader_due() {
    DWORD due = reader.notice_shown ? Until(reader.notice_tick, NOTICE_SHOWN) : INFINITE;
    if (Screen_is_open()) return due;
    due = std::min({due, Live_edit_due(), Speech_due()});
    if (!Skipping()) due = std::min(due, Typing_due());
    if (!Skipping() && reader.auto_on && Waiting()) due = std::min(due, reader.auto_waiting ? Auto_due() : 0);
    if (!Skipping()) return due;
    if (game.text_run == 1 || (Waiting() && !reader.skip_waiting)) return 0;
    if (reader.skip_waiting) due = std::min(due, Until(reader.skip_wait_tick, SKIP_WAIT));
    return due;
}
