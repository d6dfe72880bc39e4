// The game window on SDL's video: opened hidden at the picture's size, placed, shown and sized as
// the window procedure and the reader ask; its client size tells where the picture lies.
#include "sdl_window.h"
#include "sdl_x11.h"

#include "draw/bmp.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

bool Sdl_video_start() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // the window never captures the mouse: a button released outside it is not seen
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "veltrane: no display: %s\n", SDL_GetError());
        return false;
    }
    Watch_x11_connection();
    return true;
}

// The icon is decoded as every picture is, and lent to SDL only for the call.
void Sdl_window::Set_icon(const Icon& icon) {
    std::unique_ptr<Surface, Surface_deleter> pic(icon.bmp ? Bmp_decode(icon.bmp, icon.size) : nullptr);
    if (!pic) return;
    SDL_Surface* lent = SDL_CreateRGBSurfaceWithFormatFrom(pic->pixels, pic->width, pic->height, 32,
                                                           pic->width * 4, SDL_PIXELFORMAT_RGB888);
    if (lent) SDL_SetWindowIcon(window, lent);
    SDL_FreeSurface(lent);
}

bool Sdl_window::open(const char* class_name, const char* caption, int width, int height, const Icon& icon) {
    // the desktop's window class is X11's WM_CLASS
    setenv("SDL_VIDEO_X11_WMCLASS", class_name, 1);
    SDL_SetHint(SDL_HINT_APP_NAME, class_name);
    if (!Sdl_video_start()) return false;
    // it opens at the picture's size; the reader may make it larger, or smaller down to half
    window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!window) return Fail("window");
    SDL_SetWindowMinimumSize(window, width / 2, height / 2);
    Set_icon(icon);
    // the picture goes to the window's own surface (shared memory on X11), never through GL:
    // on a machine without a GPU, a GL renderer costs tens of megabytes and most of the start-up
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    screen = SDL_GetWindowSurface(window);
    if (!screen) return Fail("window surface");
    window_id = SDL_GetWindowID(window);
    client_w = pic_w = width;
    client_h = pic_h = height;
    view = View{0, 0, width, height};
    return true;
}

void Sdl_window::close() {
    SDL_FreeSurface(canvas);
    canvas = nullptr;
    if (window) SDL_DestroyWindow(window);
    screen = nullptr;
    window = nullptr;
    window_id = 0;
}

bool Sdl_window::Fail(const char* what) {
    std::fprintf(stderr, "veltrane: cannot create the %s: %s\n", what, SDL_GetError());
    close();
    return false;
}

Rect Sdl_window::desktop_rect() const {
    SDL_Rect r{0, 0, 0, 0};
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_GetDisplayBounds(window ? SDL_GetWindowDisplayIndex(window) : 0, &r);
    return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
}

Rect Sdl_window::frame_rect() const {
    int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
    if (window) {
        SDL_GetWindowPosition(window, &x, &y);
        SDL_GetWindowSize(window, &w, &h);
        SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
    }
    return Rect{x - left, y - top, x + w + right, y + h + bottom};
}

void Sdl_window::move(int x, int y) {
    if (!window) return;
    int top = 0, left = 0;
    SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr);
    SDL_SetWindowPosition(window, x + left, y + top);
}

void Sdl_window::show() {
    if (window) SDL_ShowWindow(window);
}

void Sdl_window::set_client_size(int width, int height) {
    if (window) SDL_SetWindowSize(window, width, height);
}

void Sdl_window::client_size(int* width, int* height) const {
    *width = client_w;
    *height = client_h;
}

void Sdl_window::set_fullscreen(bool on) {
    if (window) SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

// Fullscreen as it happened: asked for, and the window as large as its display.
bool Sdl_window::fullscreen() const {
    if (!window ||
        (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN_DESKTOP)
        return false;
    SDL_Rect display{};
    int width = 0, height = 0;
    Real_size(&width, &height);
    return SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display) == 0 && width >= display.w &&
           height >= display.h;
}

void Sdl_window::Real_size(int* width, int* height) const {
    if (!X11_window_size(window, width, height)) SDL_GetWindowSize(window, width, height);
}

bool Sdl_window::maximized() const { return SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED; }

bool Sdl_window::resize(int width, int height) {
    // SDL makes the window a new surface for any size it is told; the picture is laid out for the
    // window as it is
    resized = true;
    X11_window_size(window, &width, &height);
    if (width == client_w && height == client_h) return false;
    client_w = width;
    client_h = height;
    view = View_fit(width, height, pic_w, pic_h);
    return true;
}

bool Sdl_window::to_picture(int x, int y, LPARAM* at) const {
    if (Unscaled()) {
        *at = MAKELPARAM(x, y);
        return In_client(x, y);
    }
    int px = 0, py = 0;
    View_to_picture(view, pic_w, pic_h, x, &px, y, &py);
    *at = MAKELPARAM(px, py);
    return true;
}
