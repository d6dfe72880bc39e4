// The desktop services the engine stands on, under their desktop names and numbers.
// Engine code includes this header (and headless.h in tools); never SDL, FreeType, fontconfig or iconv.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

using DWORD = uint32_t;
using UINT = uint32_t;
using WPARAM = uint32_t;
using LPARAM = int32_t;
using LRESULT = int32_t;
using COLORREF = uint32_t; // 0x00BBGGRR: red in the lowest byte

constexpr COLORREF RGB(int r, int g, int b) {
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// ---------------------------------------------------------------- messages
constexpr UINT WM_CREATE = 1;
constexpr UINT WM_DESTROY = 2;
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
constexpr UINT WM_MOUSEWHEEL = 522;
constexpr UINT MM_MCINOTIFY = 953;

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
constexpr WPARAM VK_LEFT = 37;
constexpr WPARAM VK_UP = 38;
constexpr WPARAM VK_RIGHT = 39;
constexpr WPARAM VK_DOWN = 40;
constexpr WPARAM VK_DELETE = 46;
constexpr WPARAM VK_F1 = 112;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// packs client coordinates the way mouse messages carry them: x low, y high
constexpr LPARAM MAKELPARAM(int x, int y) { return (LPARAM)(((uint32_t)y << 16) | ((uint32_t)x & 0xFFFF)); }

struct Window; // the one game window, or none

struct Msg {
    Window* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

using WNDPROC = LRESULT (*)(Window*, UINT, WPARAM, LPARAM);

// Puts a posted message at the end of the queue; delivered in order by GetMessage.
bool PostMessage(Window* window, UINT message, WPARAM wParam, LPARAM lParam);
// Asks the loop to end: WM_QUIT comes once the queue holds nothing else.
void PostQuitMessage(int exit_code);
// Gathers outside events, then tells whether a message waits (copied to *msg, left in the queue).
bool PeekMessage(Msg* msg, UINT remove);
// Takes the next message; 0 when it is WM_QUIT. Called only when PeekMessage found one waiting.
int GetMessage(Msg* msg);
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

struct Rect {
    int32_t left, top, right, bottom;
};

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

// ---------------------------------------------------------------- surfaces and raster ops
struct Font;
struct Brush {
    COLORREF color;
};

// An off-screen page: 32-bit pixels 0x00RRGGBB, row after row, plus the drawing state a
// desktop drawing context keeps (selected font and brush, text colour, background mode).
struct Surface {
    int width = 0;
    int height = 0;
    uint32_t* pixels = nullptr;
    uint64_t version = 0; // changed by every drawing call that writes the surface, never reused
    Font* font = nullptr;
    const Brush* brush = nullptr;
    COLORREF text_color = 0;
    int bk_mode = 2;
};

// A new surface of width x height, black; null for a size under 1 or over 16384 a side.
Surface* CreateSurface(int width, int height);
void DeleteSurface(Surface* surface);

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD PATCOPY = 0x00F00021;

// Every raster op is clipped to both surfaces; a zero or negative size draws nothing;
// copies within one surface are safe when source and destination overlap.
bool BitBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop);
// Stretches (nearest pixel) the source rectangle onto the destination rectangle, SRCCOPY.
bool StretchBlt(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                DWORD rop);

constexpr uint8_t AC_SRC_OVER = 0;
struct BLENDFUNCTION {
    uint8_t BlendOp;
    uint8_t BlendFlags;
    uint8_t SourceConstantAlpha;
    uint8_t AlphaFormat;
};
// Blends with a constant alpha a, per channel: src * a / 255 + dst * (255 - a) / 255.
bool AlphaBlend(Surface* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend);

Brush* CreateSolidBrush(COLORREF color);
void DeleteObject(Brush* brush);
const Brush* SelectObject(Surface* surface, const Brush* brush);
// Fills with the selected brush (PATCOPY); without a brush nothing is drawn.
bool PatBlt(Surface* dst, int x, int y, int w, int h, DWORD rop);

// ---------------------------------------------------------------- the window's drawing context
struct WindowDC;
WindowDC* GetDC(Window* window);
// Shows the source rectangle in the window. A source whose content the window already shows is not
// uploaded again, so presenting an unchanged picture costs nothing.
bool BitBlt(WindowDC* dst, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop);

// ---------------------------------------------------------------- images
// Loads a BMP file (1/4/8/16/24/32 bit, RLE, bitfields, top-down) into a new surface;
// null for a missing or malformed file.
Surface* LoadImage(const char* path);

// ---------------------------------------------------------------- text
constexpr int FW_NORMAL = 400;
constexpr int FW_SEMIBOLD = 600;
constexpr int SHIFTJIS_CHARSET = 128;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// A font of the CP932 face name, resolved to an installed face that covers Japanese for
// SHIFTJIS_CHARSET. A positive height is the cell height (ascent + descent) in pixels.
Font* CreateFont(int height, int weight, const char* face, int charset);
void DeleteObject(Font* font);
Font* SelectObject(Surface* surface, Font* font);
COLORREF SetTextColor(Surface* surface, COLORREF color);
int SetBkMode(Surface* surface, int mode);
// Draws CP932 bytes with the selected font, the top of the cell at y; antialiased in the text
// colour over what is there (the background mode is always transparent).
bool TextOut(Surface* surface, int x, int y, const char* bytes, int length);
// Width in pixels of CP932 bytes in the font, and the font's cell height.
int GetTextExtent(Font* font, const char* bytes, int length);
int GetFontHeight(const Font* font);

// ---------------------------------------------------------------- CP932
// Decodes CP932 bytes to UTF-8; a byte that starts no character becomes U+FFFD.
std::string Cp932_to_utf8(const char* bytes, size_t length);
std::string Cp932_to_utf8(const char* text);
// Encodes UTF-8 as CP932; characters CP932 lacks become '?'.
std::string Utf8_to_cp932(const char* text);
// A UTF-8 literal as CP932, converted once and kept for the life of the process.
const char* Sjis(const char* utf8_literal);

// ---------------------------------------------------------------- dialogs
constexpr UINT MB_OK = 0;
constexpr int IDOK = 1;
// A modal box with an OK button; text and caption are CP932. While it is open, the game window's
// messages still reach its procedure, but the caller (and so the engine's tick) waits.
int MessageBox(Window* owner, const char* text, const char* caption, UINT type);

// ---------------------------------------------------------------- game-folder files
// A path as scripts write it (".\gdat\bg01.bgh", CP932) as it exists on disk: '\' becomes '/',
// then the exact name, a case-insensitive match, or the name converted to UTF-8. The converted
// path is returned even when nothing matches.
std::string Game_file_path(const char* path);
FILE* Game_fopen(const char* path, const char* mode);

// ---------------------------------------------------------------- sound
constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_LOOP = 0x0008;
constexpr DWORD SND_FILENAME = 0x00020000;
// Plays a wave file of the game folder (SND_FILENAME) once, or until silenced with SND_LOOP, in
// place of the effect that sounds; a null sound silences it. Every sound plays asynchronously.
// A file that cannot be played gives the platform's default chime, unless SND_NODEFAULT is given.
// True when something sounds (or was silenced).
bool PlaySound(const char* sound, const void* module, DWORD flags);

// ---------------------------------------------------------------- music (the media command strings)
using MCIERROR = DWORD;
constexpr MCIERROR MCIERR_UNRECOGNIZED_KEYWORD = 259;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr MCIERROR MCIERR_HARDWARE = 262;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = 263;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = 264;
constexpr MCIERROR MCIERR_MISSING_COMMAND_STRING = 267;
constexpr MCIERROR MCIERR_PARAM_OVERFLOW = 268;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = 273;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = 275;
constexpr MCIERROR MCIERR_DUPLICATE_ALIAS = 289;
constexpr MCIERROR MCIERR_INVALID_FILE = 296;
constexpr MCIERROR MCIERR_SEQ_NOMIDIPRESENT = 343;
// wParam of MM_MCINOTIFY; lParam is the device's id
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 2;
constexpr WPARAM MCI_NOTIFY_ABORTED = 4;
// Runs one command string (CP932). Understood:
//   open PATH type sequencer|mpegvideo alias NAME   PATH as scripts write it, blanks allowed
//   capability NAME can play [wait]                 replies "true" or "false"
//   play NAME [notify]                              from the start; MM_MCINOTIFY to notify at the end
//   stop NAME [wait]    close NAME [wait]           a pending notice is told MCI_NOTIFY_ABORTED
// The reply (at most reply_size bytes with its 0) may be null. 0 or an MCIERR_ code.
MCIERROR mciSendString(const char* command, char* reply, UINT reply_size, Window* notify);
// The text (CP932, at most size bytes with its 0) of a code mciSendString returns; false for others.
bool mciGetErrorString(MCIERROR error, char* text, UINT size);
