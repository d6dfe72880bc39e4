// The program's spine: the single-instance test, the window, start-up, the main loop and the end.
#include "app.h"
#include "audio.h"
#include "interact.h"

#include <algorithm>
#include <cstdio>

int WinMain(const Instance* instance, const Instance*, const char*, int show_command) {
    int exit_code = 0;
    if (!Main_start(instance, show_command, &exit_code, WndProc)) return exit_code;
    return Main_loop();
}

int Main_loop() {
    int exit_code = 0;
    for (;;) {
        int turn = Main_turn(&exit_code);
        if (turn == TURN_QUIT) return exit_code;
        if (turn == TURN_IDLE) Main_rest();
    }
}

void Main_rest(DWORD other_due) {
    // what is due is measured at the pass: work whose time comes during the rest (the first pass
    // of a start menu that takes input, say) is due at once after it
    DWORD due = std::min(Next_due(), other_due), rest_start = GetTickCount();
    // a ms's rest after a pass, as ever; then sleep on until a task is due or input comes
    Sleep(1);
    DWORD rested = GetTickCount() - rest_start;
    if (due != INFINITE) due = due > rested ? due - rested : 0;
    if (due) MsgWaitForMultipleObjects(0, nullptr, false, due, QS_ALLINPUT);
    Skip_idle_presents();
}

int Main_start(const Instance* instance, int show_command, int* exit_code, WNDPROC proc) {
    game.app_instance = instance;
    *exit_code = 0;
    if (FindWindow(TITLE, TITLE)) {
        Msg_box(Sjis("既に起動していますよん♪"), Sjis("警告"));
        return 0;
    }
    *exit_code = 1;
    WndClass wc{0, proc, instance, LoadIcon(instance, 101), TITLE};
    if (!RegisterClass(&wc)) {
        std::fprintf(stderr, "veltrane: cannot register the window class\n");
        return 0;
    }
    // the client area is the whole picture: the frame and caption come on top of it
    game.main_window = CreateWindow(TITLE, TITLE, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20, 20, SCREEN_W,
                                    SCREEN_H, instance);
    if (!game.main_window) {
        std::fprintf(stderr, "veltrane: cannot open the window\n");
        return 0;
    }
    Center_window(game.main_window);
    ShowWindow(game.main_window, show_command);
    UpdateWindow(game.main_window);
    game.window_dc = GetDC(game.main_window);
    Game_init();
    *exit_code = 0;
    return 1;
}

// The next message, when one waits: TURN_MESSAGE once it is dispatched, TURN_QUIT for the quit
// message, TURN_IDLE when none waits.
namespace {

int Dispatch_next(int* exit_code) {
    Msg msg;
    if (!PeekMessage(&msg, PM_NOREMOVE)) return TURN_IDLE;
    if (GetMessage(&msg) == 0) {
        *exit_code = (int)msg.wParam;
        return TURN_QUIT;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    return TURN_MESSAGE;
}

} // namespace

int Main_turn(int* exit_code, void (*before_pass)()) {
    int turn = Dispatch_next(exit_code);
    if (turn != TURN_IDLE) return turn;
    if (before_pass) before_pass();
    Game_tick();
    return TURN_IDLE;
}

int Main_messages(int* exit_code) {
    int turn = Dispatch_next(exit_code);
    if (turn != TURN_MESSAGE) return turn;
    while ((turn = Dispatch_next(exit_code)) == TURN_MESSAGE) {
    }
    return turn == TURN_QUIT ? TURN_QUIT : TURN_MESSAGE;
}

int Center_window(Window* window) {
    Rect desk = GetDesktopRect();
    Rect win{};
    GetWindowRect(window, &win);
    int width = win.right - win.left;
    int height = win.bottom - win.top;
    SetWindowPos(window, (desk.right - width) / 2, (desk.bottom - height) / 2, width, height, SWP_SHOWWINDOW);
    return 0;
}

void Game_init() {
    game.bs_surface = Surface_create(SCREEN_W, SCREEN_H);
    game.pt_surface = Surface_create(PARTS_PICTURE.width, PARTS_PICTURE.height);
    Load_Bmp(game.pt_surface, PARTS_PICTURE.path);
    game.bg_surface = Surface_create(BACK_PICTURE.width, BACK_PICTURE.height);
    Load_Bmp(game.bg_surface, BACK_PICTURE.path);
    BitBlt(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, game.bg_surface, 0, 0, SRCCOPY);
    Input_reset();
    Script_init();
    // the first pass presents whatever the clock reads
    game.present_tick = GetTickCount() - PRESENT_INTERVAL;
    // and a start menu may open at once, however young the clock
    game.menu_tick = GetTickCount() - MENU_HOLD;
    Text_resume(game.delay_run);
    game.wait_run = 0;
}

void Game_end() {
    Audio_stop_all();
    PostQuitMessage(0);
}
