// The game window and its events: messages and the queue, the clock, the window itself, and the
// modal message box, whole or in steps for a host that runs the loop.
#pragma once

#include "desktop_types.h"

#include <cstddef>

// ---------------------------------------------------------------- messages
constexpr UINT WM_NULL = 0; // nothing: posted from another thread only to wake the loop
constexpr UINT WM_CREATE = 1;
constexpr UINT WM_DESTROY = 2;
constexpr UINT WM_SIZE = 5; // the client area's new size: wParam SIZE_*, lParam width and height
constexpr UINT WM_PAINT = 15;
constexpr UINT WM_CLOSE = 16;
constexpr UINT WM_QUIT = 18;
constexpr UINT WM_KEYDOWN = 256;
constexpr UINT WM_KEYUP = 257;
constexpr UINT WM_SYSKEYDOWN = 260;
constexpr UINT WM_SYSKEYUP = 261;
constexpr UINT WM_MOUSEMOVE = 512;
constexpr UINT WM_LBUTTONDOWN = 513;
constexpr UINT WM_LBUTTONUP = 514;
constexpr UINT WM_RBUTTONDOWN = 516;
constexpr UINT WM_RBUTTONUP = 517;
constexpr UINT WM_MBUTTONDOWN = 519;
constexpr UINT WM_MBUTTONUP = 520;
constexpr UINT WM_MOUSEWHEEL =
    522; // wParam: MK_ word, and WHEEL_DELTA a notch (up positive) in its high half

constexpr WPARAM MK_LBUTTON = 1;
constexpr WPARAM MK_RBUTTON = 2;
constexpr WPARAM MK_SHIFT = 4;
constexpr WPARAM MK_CONTROL = 8;
constexpr WPARAM MK_MBUTTON = 16;

constexpr WPARAM VK_BACK = 8;
constexpr WPARAM VK_TAB = 9;
constexpr WPARAM VK_RETURN = 13;
constexpr WPARAM VK_SHIFT = 16;
constexpr WPARAM VK_CONTROL = 17;
constexpr WPARAM VK_MENU = 18;
constexpr WPARAM VK_ESCAPE = 27;
constexpr WPARAM VK_SPACE = 32;
constexpr WPARAM VK_PRIOR = 33; // Page Up
constexpr WPARAM VK_NEXT = 34;  // Page Down
constexpr WPARAM VK_END = 35;
constexpr WPARAM VK_HOME = 36;
constexpr WPARAM VK_LEFT = 37;
constexpr WPARAM VK_UP = 38;
constexpr WPARAM VK_RIGHT = 39;
constexpr WPARAM VK_DOWN = 40;
constexpr WPARAM VK_DELETE = 46;
constexpr WPARAM VK_APPS = 0x5D; // the keyboard's menu key
constexpr WPARAM VK_F1 = 112;
constexpr WPARAM VK_F5 = 116;
constexpr WPARAM VK_F9 = 120;
constexpr WPARAM VK_F11 = 122;
// A gamepad's buttons, and its left stick pushed past half way, as keys.
constexpr WPARAM VK_GAMEPAD_A = 0xC3;
constexpr WPARAM VK_GAMEPAD_B = 0xC4;
constexpr WPARAM VK_GAMEPAD_X = 0xC5;
constexpr WPARAM VK_GAMEPAD_Y = 0xC6;
constexpr WPARAM VK_GAMEPAD_RIGHT_SHOULDER = 0xC7;
constexpr WPARAM VK_GAMEPAD_LEFT_SHOULDER = 0xC8;
constexpr WPARAM VK_GAMEPAD_LEFT_TRIGGER = 0xC9;
constexpr WPARAM VK_GAMEPAD_RIGHT_TRIGGER = 0xCA;
constexpr WPARAM VK_GAMEPAD_DPAD_UP = 0xCB;
constexpr WPARAM VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr WPARAM VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr WPARAM VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr WPARAM VK_GAMEPAD_MENU = 0xCF;
constexpr WPARAM VK_GAMEPAD_VIEW = 0xD0;
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON = 0xD1;
constexpr WPARAM VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON = 0xD2;
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_UP = 0xD3;
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_DOWN = 0xD4;
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT = 0xD5;
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_LEFT = 0xD6;
constexpr int WHEEL_DELTA = 120;
// The wheel's turn a WM_MOUSEWHEEL carries: WHEEL_DELTA a notch, up positive.
inline int Wheel_delta(WPARAM wParam) { return (int16_t)(uint16_t)(wParam >> 16); }
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MAXIMIZED = 2;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

struct Msg {
    Window* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

using WNDPROC = LRESULT (*)(Window*, UINT, WPARAM, LPARAM);

// Puts a posted message at the end of the queue; delivered in order by GetMessage.
bool PostMessage(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// PostMessage for a thread other than the loop's (the audio thread, a watcher of files): the message
// joins the queue at the next peek, dropped then if the window is gone, and a wait under way ends.
void Post_from_any_thread(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the loop to end: WM_QUIT comes once the queue holds nothing else.
void PostQuitMessage(int exit_code);
// Gathers outside events, then tells whether a message waits (copied to *msg, left in the queue).
bool PeekMessage(Msg* msg, UINT remove);
// Takes the next message; 0 when it is WM_QUIT. Called only when PeekMessage found one waiting.
int GetMessage(Msg* msg);
// Sleeps until a message waits (WAIT_OBJECT_0) or ms have passed (WAIT_TIMEOUT), whichever is
// first; the loop's way to sleep until its next task is due. Only the form without handles, with
// QS_ALLINPUT, is known.
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD QS_ALLINPUT = 0x04FF;
constexpr DWORD INFINITE = 0xFFFFFFFF;
DWORD MsgWaitForMultipleObjects(DWORD count, const void* handles, bool wait_all, DWORD ms, DWORD wake_mask);
// The engine reads no character messages, so there is nothing to translate.
bool TranslateMessage(const Msg* msg);
// Hands a message to its window's procedure; messages for a destroyed window are dropped.
LRESULT DispatchMessage(const Msg* msg);
// What a message not handled by the window procedure gets: WM_CLOSE destroys the window.
LRESULT DefWindowProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------- time
// Milliseconds of the backend's clock, unsigned 32-bit; wraps every 2^32 ms.
DWORD GetTickCount();
// Gives up the thread for ms milliseconds (the headless clock advances by exactly ms).
void Sleep(DWORD ms);

// ---------------------------------------------------------------- window
// What the program carries with it: the icon resource as BMP file bytes.
struct Instance {
    const unsigned char* icon_bmp;
    size_t icon_size;
};
struct Icon {
    const unsigned char* bmp;
    size_t size;
};
// Resource 101 of the program is its icon; any other id gives an empty icon.
Icon LoadIcon(const Instance* instance, int id);

struct WndClass {
    UINT style;
    WNDPROC proc;
    const Instance* instance;
    Icon icon;
    const char* class_name;
};
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr int SW_SHOWNORMAL = 1;
constexpr UINT SWP_SHOWWINDOW = 0x0040;

// True when a running copy (this process or another) has a window of exactly this class and caption.
bool FindWindow(const char* class_name, const char* caption);
bool RegisterClass(const WndClass* wc);
// Creates the game window with a client area of exactly width x height, fixed in size, caption,
// system menu and minimise box only. Sends WM_CREATE. Null when the class is unknown or the desktop refuses.
Window* CreateWindow(const char* class_name, const char* caption, DWORD style, int x, int y, int width,
                     int height, const Instance* instance);
// Sends WM_DESTROY to the window procedure, then closes the window; later messages to it are dropped.
bool DestroyWindow(Window* window);
bool IsWindow(const Window* window);
// The desktop's rectangle and a window's outer rectangle (frame and caption included).
Rect GetDesktopRect();
bool GetWindowRect(const Window* window, Rect* rect);
// Moves the window so that its outer top-left is at (x, y); its size never changes.
bool SetWindowPos(Window* window, int x, int y, int width, int height, UINT flags);
bool ShowWindow(Window* window, int show_command);
// Sends WM_PAINT to the window procedure at once.
bool UpdateWindow(Window* window);

// The reader's comforts, beyond what the engine asks of its window: the reader may resize the window
// or make it cover the screen. The picture then shows at the largest size that keeps its shape,
// centred between black bars, and mouse messages still carry positions on the picture (a position
// on a bar clamps to the nearest edge). Each change of size comes as WM_SIZE.
bool Set_client_size(Window* window, int width, int height);
bool Get_client_size(const Window* window, int* width, int* height);
// Where the picture lies in the client area, as the window shows it now (the positions of mouse
// messages map back from it).
bool Get_picture_rect(const Window* window, Rect* rect);
bool Set_fullscreen(Window* window, bool on);
bool Is_fullscreen(const Window* window);
// Puts text (CP932) on the desktop's clipboard, as UTF-8; false where it cannot.
bool Set_clipboard_text(const char* text);

// ---------------------------------------------------------------- dialogs
constexpr UINT MB_OK = 0;
constexpr int IDOK = 1;
// A modal box with an OK button; text and caption are CP932. While it is open, the game window's
// messages still reach its procedure, but the caller (and so the engine's tick) waits.
int MessageBox(Window* owner, const char* text, const char* caption, UINT type);

// The same box for a host that owns the loop: MessageBox is Box_open, Box_turn until it answers
// false, then Box_close. A turn runs the game window's waiting messages and the box's own events;
// a quit request closes the box and is put back for the main loop. A turn may open and close a
// box of its own: turns and the close always concern the box opened last.
void Box_open(const char* text, const char* caption);
bool Box_turn();
void Box_close();
// True from Box_open to Box_close (nested boxes counted): a message dispatched now comes from a
// box's loop, under a routine of the engine that is still half-way through.
bool Box_is_open();
