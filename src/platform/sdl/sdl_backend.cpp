// The SDL backend: SDL events become the game window's messages, the changed parts of a frame go to
// the window's own surface, and a lock keyed by user, display, class and caption tells whether
// another copy runs.
#include "sdl_backend.h"
#include "sdl_x11.h"

#include "sdl.h"
#include "window/view.h"

#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

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

namespace {

WPARAM Vk_of(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    default:
        return 0;
    }
}

class Sdl_backend : public Backend, public Window_backend {
  public:
    Sdl_backend() {
        // Sleep(1) may last up to 3 ms, as a desktop's coarse timer lets it: every wake-up has a
        // price, and gathering them makes an idle game nearly free without a visible difference
        prctl(PR_SET_TIMERSLACK, 2000000UL);
    }
    ~Sdl_backend() override {
        // a host that steps boxes may leave one open
        while (!dialogs.empty()) box_close();
        close_window();
        if (instance_fd >= 0) close(instance_fd);
    }

    Window_backend& window_service() override { return *this; }
    Sound_backend& sound_service() override { return audio; }

    DWORD ticks() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return (DWORD)std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    }
    // The main loop rests after every scheduler pass: the events behind a press are due then.
    void sleep(DWORD ms) override {
        after_press = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

    void pump(Event_sink sink) override {
        // a box's own loop never rests as the main loop does, and the box must hear its release
        if (!dialogs.empty()) after_press = false;
        if (!SDL_WasInit(SDL_INIT_VIDEO) || after_press) return;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            // the menus see a press by looking at the held buttons on their passes: what comes
            // after a press on the game window (the release of a quick tap) waits one pass
            if (route(e, sink) && dialogs.empty()) {
                after_press = true;
                break;
            }
        }
    }

    void wait_event(DWORD ms) override {
        after_press = false;
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return sleep(ms);
        SDL_WaitEventTimeout(nullptr, (int)std::min<DWORD>(ms, 0x7FFFFFFF));
    }

    void wake() override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
        SDL_Event e{};
        e.type = wake_event;
        SDL_PushEvent(&e);
    }

    bool instance_running(const std::string& key) override {
        int fd = Bind_key(key);
        if (fd >= 0) close(fd);
        return fd == -2;
    }
    bool claim_instance(const std::string& key) override {
        if (instance_fd < 0) instance_fd = Bind_key(key);
        return instance_fd >= 0;
    }

    bool open_window(const char* class_name, const char* caption, int width, int height,
                     const Icon& icon) override {
        // the desktop's window class is X11's WM_CLASS
        setenv("SDL_VIDEO_X11_WMCLASS", class_name, 1);
        SDL_SetHint(SDL_HINT_APP_NAME, class_name);
        if (!Sdl_video_start()) return false;
        // it opens at the picture's size; the reader may make it larger, or smaller down to half
        window = SDL_CreateWindow(caption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                  SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
        if (!window) return Fail("window");
        SDL_SetWindowMinimumSize(window, width / 2, height / 2);
        if (icon.bmp) {
            if (SDL_Surface* pic = SDL_LoadBMP_RW(SDL_RWFromConstMem(icon.bmp, (int)icon.size), 1)) {
                SDL_SetWindowIcon(window, pic);
                SDL_FreeSurface(pic);
            }
        }
        // the picture goes to the window's own surface (shared memory on X11), never through GL:
        // on a machine without a GPU, a GL renderer costs tens of megabytes and most of the start-up
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        screen = SDL_GetWindowSurface(window);
        if (!screen) return Fail("window surface");
        window_id = SDL_GetWindowID(window);
        if (wake_event == 0) wake_event = SDL_RegisterEvents(1);
        client_w = pic_w = width;
        client_h = pic_h = height;
        view = View{0, 0, width, height};
        return true;
    }

    void close_window() override {
        SDL_FreeSurface(canvas);
        canvas = nullptr;
        if (window) SDL_DestroyWindow(window);
        screen = nullptr;
        window = nullptr;
        window_id = 0;
    }

    Rect desktop_rect() override {
        SDL_Rect r{0, 0, 0, 0};
        if (SDL_WasInit(SDL_INIT_VIDEO))
            SDL_GetDisplayBounds(window ? SDL_GetWindowDisplayIndex(window) : 0, &r);
        return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
    }

    Rect window_rect() override {
        int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
        if (window) {
            SDL_GetWindowPosition(window, &x, &y);
            SDL_GetWindowSize(window, &w, &h);
            SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
        }
        return Rect{x - left, y - top, x + w + right, y + h + bottom};
    }

    void move_window(int x, int y) override {
        if (!window) return;
        int top = 0, left = 0;
        SDL_GetWindowBordersSize(window, &top, &left, nullptr, nullptr);
        SDL_SetWindowPosition(window, x + left, y + top);
    }

    void show_window() override {
        if (window) SDL_ShowWindow(window);
    }

    void present(const Surface& frame, const Rect* changed, int count) override {
        if (resized) return Present_resized(frame);
        if (!screen) return;
        if (!Unscaled()) return Present_scaled(frame, changed, count);
        SDL_Rect rects[DAMAGE_RECTS];
        int n = 0;
        for (int i = 0; i < count && i < DAMAGE_RECTS; i++) {
            const Rect& r = changed[i];
            rects[n++] = SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        if (n > 0) Copy_to_screen(frame, rects, n);
        // an exposed window is drawn again whole from the surface, which holds the last picture
        if (exposed)
            SDL_UpdateWindowSurface(window);
        else if (n > 0)
            SDL_UpdateWindowSurfaceRects(window, rects, n);
        exposed = false;
    }

    void set_client_size(int width, int height) override {
        if (window) SDL_SetWindowSize(window, width, height);
    }
    void client_size(int* width, int* height) override {
        *width = client_w;
        *height = client_h;
    }
    void set_fullscreen(bool on) override {
        if (window) SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    }
    bool fullscreen() override {
        return window &&
               (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
    }

    void box_open(const std::string& text, const std::string& caption) override {
        auto d = std::make_unique<Sdl_dialog>();
        if (!Sdl_video_start() || !Dialog_open(*d, text, caption)) {
            // without a display the author still reads the message; the box is done before it shows
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
            d->done = true;
        }
        dialogs.push_back(std::move(d));
    }

    bool box_turn(bool (*dispatch_pending)()) override {
        if (dialogs.empty()) return false;
        Sdl_dialog& d = *dialogs.back();
        if (d.done || !dispatch_pending()) return false;
        if (d.dirty) Dialog_draw(d);
        SDL_WaitEventTimeout(nullptr, 20);
        return true;
    }

    void box_close() override {
        if (dialogs.empty()) return;
        std::unique_ptr<Sdl_dialog> d = std::move(dialogs.back());
        dialogs.pop_back();
        Dialog_close(*d);
    }

  private:
    Sdl_audio audio;
    SDL_Window* window = nullptr;
    SDL_Surface* screen = nullptr; // the window's own pixels
    Uint32 window_id = 0;
    Uint32 wake_event = 0;    // pushed by other threads so that a wait for events ends
    bool after_press = false; // a press reached the game window: the rest waits for a pass
    int client_w = 0, client_h = 0;
    int pic_w = 0, pic_h = 0;      // the picture's own size: the client size the window opened with
    View view{};                   // where the picture lies in the client area
    bool resized = false;          // the window's surface must be fetched again and drawn whole
    SDL_Surface* canvas = nullptr; // the scaled picture, for a window surface of another format
    bool exposed = false;
    WPARAM held = 0; // mouse buttons down, as MK_ bits
    int instance_fd = -1;
    std::vector<std::unique_ptr<Sdl_dialog>> dialogs; // the open boxes, the last on top

    // The rectangles of the frame onto the window's surface, converted if its format differs.
    void Copy_to_screen(const Surface& frame, const SDL_Rect* rects, int n) {
        SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels, frame.width, frame.height, 32,
                                                               frame.width * 4, SDL_PIXELFORMAT_RGB888);
        if (!from) return;
        for (int i = 0; i < n; i++) {
            SDL_Rect at = rects[i];
            SDL_BlitSurface(from, &rects[i], screen, &at);
        }
        SDL_FreeSurface(from);
    }

    bool Unscaled() const { return client_w == pic_w && client_h == pic_h; }

    // The scaled picture goes straight into the window's pixels when they are laid out as ours.
    SDL_Surface* Target() {
        bool ours = screen->format->format == SDL_PIXELFORMAT_RGB888 ||
                    screen->format->format == SDL_PIXELFORMAT_ARGB8888;
        if (ours) return screen;
        if (!canvas || canvas->w != client_w || canvas->h != client_h) {
            SDL_FreeSurface(canvas);
            canvas = SDL_CreateRGBSurfaceWithFormat(0, client_w, client_h, 32, SDL_PIXELFORMAT_RGB888);
        }
        return canvas;
    }

    // The picture's rectangles, scaled, into the window; the client rectangles drawn are in out.
    int Draw_scaled(const Surface& frame, const Rect* parts, int count, SDL_Rect* out) {
        SDL_Surface* target = Target();
        if (!target) return 0;
        if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) return 0;
        int n = 0;
        for (int i = 0; i < count && i < DAMAGE_RECTS; i++) {
            View_draw(frame, parts[i], view, (uint32_t*)target->pixels, target->pitch / 4, target->w,
                      target->h);
            Rect r = View_rect(view, pic_w, pic_h, parts[i]);
            if (r.left < r.right && r.top < r.bottom)
                out[n++] = SDL_Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
        }
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        for (int i = 0; target != screen && i < n; i++) {
            SDL_Rect at = out[i];
            SDL_BlitSurface(target, &out[i], screen, &at);
        }
        return n;
    }

    void Present_scaled(const Surface& frame, const Rect* changed, int count) {
        SDL_Rect rects[DAMAGE_RECTS];
        int n = count > 0 ? Draw_scaled(frame, changed, count, rects) : 0;
        if (exposed)
            SDL_UpdateWindowSurface(window);
        else if (n > 0)
            SDL_UpdateWindowSurfaceRects(window, rects, n);
        exposed = false;
    }

    // After a change of size the window's surface is a new one: bars, then the whole picture.
    void Present_resized(const Surface& frame) {
        screen = window ? SDL_GetWindowSurface(window) : nullptr;
        if (!screen) return;
        resized = false;
        exposed = false;
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        Rect whole{0, 0, pic_w, pic_h};
        SDL_Rect unused[DAMAGE_RECTS];
        if (Unscaled()) {
            SDL_Rect all{0, 0, pic_w, pic_h};
            Copy_to_screen(frame, &all, 1);
        } else {
            Draw_scaled(frame, &whole, 1, unused);
        }
        SDL_UpdateWindowSurface(window);
    }

    // A new client size: the picture's place in it, told to the window as WM_SIZE and drawn again.
    void Resize(int width, int height, Event_sink sink) {
        if (width == client_w && height == client_h) return;
        client_w = width;
        client_h = height;
        view = View_fit(width, height, pic_w, pic_h);
        resized = true;
        bool maximized = SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED;
        sink(WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(width, height));
        sink(WM_PAINT, 0, 0);
    }

    // A client position as a position on the picture: false when it is outside an unscaled window,
    // which then has no bars to clamp from.
    bool To_picture(int x, int y, LPARAM* at) const {
        if (Unscaled()) {
            *at = MAKELPARAM(x, y);
            return In_client(x, y);
        }
        int px = 0, py = 0;
        View_to_picture(view, pic_w, pic_h, x, &px, y, &py);
        *at = MAKELPARAM(px, py);
        return true;
    }

    bool Fail(const char* what) {
        std::fprintf(stderr, "veltrane: cannot create the %s: %s\n", what, SDL_GetError());
        close_window();
        return false;
    }

    // Whose copies see one another: this user's on this display. Other users, and this user's
    // other sessions, keep their own. SDL prefers X11 where both servers are named.
    static std::string Scope() {
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        const char* x11 = std::getenv("DISPLAY");
        bool wayland = !x11 || (driver && std::strncmp(driver, "wayland", 7) == 0);
        const char* display = wayland ? std::getenv("WAYLAND_DISPLAY") : x11;
        return std::to_string(getuid()) + ':' + (display ? display : "");
    }

    // Binds an abstract socket named after the scope and the key: its fd, -2 when another process
    // holds it, -1 on error.
    static int Bind_key(const std::string& key) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string name = "veltrane-instance:" + Scope() + ':' + key;
        size_t len = std::min(name.size(), sizeof(addr.sun_path) - 1);
        std::memcpy(addr.sun_path + 1, name.data(), len);
        if (bind(fd, (sockaddr*)&addr, (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + len)) == 0)
            return fd;
        int err = errno;
        close(fd);
        return err == EADDRINUSE ? -2 : -1;
    }

    WPARAM Mk_word() const {
        SDL_Keymod mod = SDL_GetModState();
        return held | ((mod & KMOD_SHIFT) ? MK_SHIFT : 0) | ((mod & KMOD_CTRL) ? MK_CONTROL : 0);
    }

    bool In_client(int x, int y) const { return x >= 0 && y >= 0 && x < client_w && y < client_h; }

    static Uint32 Window_of(const SDL_Event& e) {
        switch (e.type) {
        case SDL_WINDOWEVENT:
            return e.window.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return e.key.windowID;
        case SDL_MOUSEMOTION:
            return e.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return e.button.windowID;
        default:
            return 0;
        }
    }

    // One event to a box or the game window; true when it was a button press on the game window.
    bool route(const SDL_Event& e, Event_sink sink) {
        Uint32 id = Window_of(e);
        for (const auto& d : dialogs) {
            if (d->window && id != 0 && id == SDL_GetWindowID(d->window)) {
                Dialog_event(*d, e);
                return false;
            }
        }
        if (e.type == SDL_QUIT) {
            // SIGTERM or SIGINT: the game window is asked to close; without one, the boxes are
            // answered, and the program goes on to its end
            if (window)
                sink(WM_CLOSE, 0, 0);
            else
                for (const auto& d : dialogs) d->done = true;
            return false;
        }
        if (!window || id != window_id) return false;
        switch (e.type) {
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                exposed = true;
                sink(WM_PAINT, 0, 0);
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                Resize(e.window.data1, e.window.data2, sink);
            } else if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                sink(WM_CLOSE, 0, 0);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            key(e.key, sink);
            break;
        case SDL_MOUSEMOTION: {
            LPARAM at = 0;
            if (To_picture(e.motion.x, e.motion.y, &at)) sink(WM_MOUSEMOVE, Mk_word(), at);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            button(e.button, sink);
            return e.type == SDL_MOUSEBUTTONDOWN;
        }
        return false;
    }

    void key(const SDL_KeyboardEvent& k, Event_sink sink) {
        WPARAM vk = Vk_of(k.keysym.sym);
        if (vk == 0) return;
        bool alt = k.keysym.mod & KMOD_ALT;
        bool down = k.type == SDL_KEYDOWN;
        LPARAM l = 1 | (LPARAM)(k.keysym.scancode & 0xFF) << 16 | (alt ? 1 << 29 : 0);
        if (!down)
            l |= (LPARAM)(3u << 30);
        else if (k.repeat)
            l |= 1 << 30;
        UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        sink(message, vk, l);
    }

    void button(const SDL_MouseButtonEvent& b, Event_sink sink) {
        static const struct {
            Uint8 button;
            WPARAM bit;
            UINT down, up;
        } kinds[] = {{SDL_BUTTON_LEFT, MK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP},
                     {SDL_BUTTON_RIGHT, MK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP},
                     {SDL_BUTTON_MIDDLE, MK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP}};
        for (const auto& k : kinds) {
            if (k.button != b.button) continue;
            bool down = b.type == SDL_MOUSEBUTTONDOWN;
            held = down ? (held | k.bit) : (held & ~k.bit);
            // every press is a press of its own: the window asks for no double clicks
            LPARAM at = 0;
            if (To_picture(b.x, b.y, &at)) sink(down ? k.down : k.up, Mk_word(), at);
        }
    }
};

} // namespace

void Use_sdl_backend() { Set_backend(std::make_unique<Sdl_backend>()); }
