// The game window's procedure: it records the mouse, turns the left button, Enter and Space into
// a click, ends the program on Esc or destruction, repaints, and answers the music's notice.
#include "app.h"
#include "audio.h"
#include "interact.h"

namespace {

void Store_mouse(WPARAM wParam, LPARAM lParam) {
    game.mouse_buttons = (int)wParam;
    game.mouse_x = (int)((uint32_t)lParam & 0xFFFF);
    game.mouse_y = (int)((uint32_t)lParam >> 16);
}

} // namespace

LRESULT WndProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        Game_end();
        return DefWindowProc(window, message, wParam, lParam);
    case WM_PAINT:
        Present();
        return DefWindowProc(window, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) On_click();
        if (wParam == VK_ESCAPE) Game_end();
        return 0;
    case WM_LBUTTONDOWN:
        On_click();
        Store_mouse(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        Store_mouse(wParam, lParam);
        return 0;
    case MM_MCINOTIFY:
        // every notice while music plays restarts it, whatever it reports: that loops the music
        if (game.bgm_playing != 1) return 0;
        if (game.bgm_kind == MUSIC_MIDI)
            Com_restart_midi();
        else if (game.bgm_kind == MUSIC_MP3)
            Com_restart_mp3();
        else
            Msg_box(Sjis("BGMのタイプが変だよ～ん"), "WndProc()");
        return 0;
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}

void On_click() {
    if (game.wait_run == 1) Wait_end();
    if (game.halt_run == 1) Game_end();
    if (game.page_run == 1) Page_end();
}
