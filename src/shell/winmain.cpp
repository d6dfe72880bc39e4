// The program's spine: the single-instance test, the window, start-up, the main loop and the end.
#include "audio.h"
#include "script.h"

#include <cstdio>

int WinMain(const Instance* instance, const Instance*, const char*, int show_command) {
    game.app_instance = instance;
    if (FindWindow(Title, Title)) {
        Msg_box(Sjis("既に起動していますよん♪"), Sjis("警告"));
        return 0;
    }
    WndClass wc{0, WndProc, instance, LoadIcon(instance, 101), Title};
    if (!RegisterClass(&wc)) {
        std::fprintf(stderr, "veltrane: cannot register the window class\n");
        return 1;
    }
    // the client area is the whole picture: the frame and caption come on top of it
    game.main_window =
        CreateWindow(Title, Title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20, 20, SCREEN_W, SCREEN_H, instance);
    if (!game.main_window) {
        std::fprintf(stderr, "veltrane: cannot open the window\n");
        return 1;
    }
    Center_window(game.main_window);
    ShowWindow(game.main_window, show_command);
    UpdateWindow(game.main_window);
    game.window_dc = GetDC(game.main_window);
    Game_init();

    Msg msg;
    for (;;) {
        if (PeekMessage(&msg, PM_NOREMOVE)) {
            if (GetMessage(&msg) == 0) return (int)msg.wParam;
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        } else {
            Game_tick();
            Sleep(1);
        }
    }
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
    game.pt_surface = Surface_create(75, 25);
    Load_Bmp(game.pt_surface, ".\\gdat\\Parts.bgh");
    game.bg_surface = Surface_create(SCREEN_W, SCREEN_H);
    Load_Bmp(game.bg_surface, ".\\gdat\\back_black.bgh");
    BitBlt(game.bs_surface, 0, 0, SCREEN_W, SCREEN_H, game.bg_surface, 0, 0, SRCCOPY);
    Input_reset();
    Script_init();
    // the first pass presents whatever the clock reads
    game.present_tick = GetTickCount() - 13;
    // and a start menu may open at once, however young the clock
    game.menu_tick = GetTickCount() - 200;
    game.text_run = 1;
    game.delay_run = 0;
    game.wait_run = 0;
}

void Game_end() {
    Com_stop_midi();
    Com_stop_mp3();
    Com_stop_wav();
    PostQuitMessage(0);
}
