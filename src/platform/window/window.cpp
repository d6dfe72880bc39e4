// The game window: classes, creation and destruction, placement, the single-instance lookup,
// and its drawing context.
#include "backend/backend.h"
#include "backend/backend_hooks.h"
#include "desktop_files.h"
#include "draw/touch.h"
#include "window_internal.h"

#include <algorithm>
#include <memory>
#include <vector>

struct WindowDC {
    Window* window;
    const Surface* last_source = nullptr; // what the frame was last copied from, and when
    uint64_t last_version = 0;
    int last_args[6] = {};
};

namespace {

std::vector<WndClass> classes;
std::vector<std::string> class_names;
std::unique_ptr<Window> game_window;
std::unique_ptr<WindowDC> game_dc;

std::string Instance_key(const char* class_name, const char* caption) {
    return std::string(class_name) + '\x1f' + caption;
}

// A copy rectangle: w x h pixels from (sx, sy) of the source to (dx, dy) of the frame.
struct Span {
    int dx, dy, sx, sy, w, h;
};

// The part of r, a rectangle of the source, that the copy of w x h pixels from (sx, sy) to (x, y)
// brings into the frame, clipped to it; w 0 when none.
Span In_frame(const Rect& r, int x, int y, int w, int h, int sx, int sy, const Surface& frame) {
    int64_t shift_x = (int64_t)x - sx, shift_y = (int64_t)y - sy;
    int64_t left = std::max({(int64_t)r.left, (int64_t)sx, -shift_x});
    int64_t top = std::max({(int64_t)r.top, (int64_t)sy, -shift_y});
    int64_t right = std::min({(int64_t)r.right, (int64_t)sx + w, frame.width - shift_x});
    int64_t bottom = std::min({(int64_t)r.bottom, (int64_t)sy + h, frame.height - shift_y});
    if (left >= right || top >= bottom) return Span{};
    return Span{(int)(left + shift_x), (int)(top + shift_y), (int)left, (int)top,
                (int)(right - left),   (int)(bottom - top)};
}

// The layer as a copy of picture; false when the copy cannot be made.
bool Copy_into(Layer& layer, const Surface* picture, int x, int y, int alpha) {
    layer.picture.reset(CreateSurface(picture->width, picture->height));
    if (!layer.picture) return false;
    BitBlt(layer.picture.get(), 0, 0, picture->width, picture->height, picture, 0, 0, SRCCOPY);
    layer.x = x;
    layer.y = y;
    layer.alpha = alpha;
    return true;
}

bool Shows_frames() {
    Backend_hooks* hooks = Current_hooks();
    return !hooks || hooks->shows_frames();
}

const WndClass* Find_class(const char* name) {
    for (size_t i = 0; i < classes.size(); i++)
        if (class_names[i] == name) return &classes[i];
    return nullptr;
}

} // namespace

Window* Game_window() { return game_window.get(); }

void Reset_windows() {
    game_window.reset();
    game_dc.reset();
    classes.clear();
    class_names.clear();
}

Icon LoadIcon(const Instance* instance, int id) {
    if (!instance || id != 101) return Icon{nullptr, 0};
    return Icon{instance->icon_bmp, instance->icon_size};
}

bool FindWindow(const char* class_name, const char* caption) {
    if (!class_name || !caption) return false;
    if (game_window && game_window->alive && game_window->class_name == class_name &&
        game_window->caption == caption)
        return true;
    Window_backend* backend = Window_service();
    return backend && backend->instance_running(Instance_key(class_name, caption));
}

bool RegisterClass(const WndClass* wc) {
    if (!wc || !wc->class_name || !wc->proc || Find_class(wc->class_name)) return false;
    classes.push_back(*wc);
    class_names.emplace_back(wc->class_name);
    return true;
}

Window* CreateWindow(const char* class_name, const char* caption, DWORD, int, int, int width, int height,
                     const Instance*) {
    const WndClass* wc = class_name ? Find_class(class_name) : nullptr;
    Window_backend* backend = Window_service();
    if (!wc || !backend || !caption || (game_window && game_window->alive)) return nullptr;
    Surface* frame = CreateSurface(width, height);
    if (!frame) return nullptr;
    // the class's background brush is white: that is what shows until the first present
    Brush white{RGB(255, 255, 255)};
    const Brush* previous = SelectObject(frame, &white);
    PatBlt(frame, 0, 0, width, height, PATCOPY);
    SelectObject(frame, previous);
    // claimed before the window shows, so that a copy that sees the window also sees the claim
    backend->claim_instance(Instance_key(class_name, caption));
    if (!backend->open_window(class_name, caption, width, height, wc->icon)) {
        DeleteSurface(frame);
        return nullptr;
    }
    game_window = std::make_unique<Window>();
    game_window->class_name = class_name;
    game_window->caption = caption;
    game_window->proc = wc->proc;
    game_window->alive = true;
    game_window->frame.reset(frame);
    game_dc.reset();
    game_window->proc(game_window.get(), WM_CREATE, 0, 0);
    return game_window.get();
}

bool DestroyWindow(Window* window) {
    if (!IsWindow(window)) return false;
    window->alive = false;
    Window_service()->close_window();
    window->proc(window, WM_DESTROY, 0, 0);
    return true;
}

bool IsWindow(const Window* window) { return window && window == game_window.get() && window->alive; }

Rect GetDesktopRect() {
    Window_backend* backend = Window_service();
    return backend ? backend->desktop_rect() : Rect{0, 0, 0, 0};
}

bool GetWindowRect(const Window* window, Rect* rect) {
    if (!IsWindow(window) || !rect) return false;
    *rect = Window_service()->window_rect();
    return true;
}

bool SetWindowPos(Window* window, int x, int y, int, int, UINT flags) {
    if (!IsWindow(window)) return false;
    Window_backend* backend = Window_service();
    backend->move_window(x, y);
    if (flags & SWP_SHOWWINDOW) backend->show_window();
    return true;
}

bool ShowWindow(Window* window, int) {
    if (!IsWindow(window)) return false;
    Window_service()->show_window();
    return true;
}

bool UpdateWindow(Window* window) {
    if (!IsWindow(window)) return false;
    window->proc(window, WM_PAINT, 0, 0);
    return true;
}

WindowDC* GetDC(Window* window) {
    if (!IsWindow(window)) return nullptr;
    if (!game_dc) game_dc = std::make_unique<WindowDC>(WindowDC{window});
    return game_dc.get();
}

bool BitBlt(WindowDC* dc, int x, int y, int w, int h, const Surface* src, int sx, int sy, DWORD rop) {
    if (!dc || !IsWindow(dc->window) || !src || rop != SRCCOPY) return false;
    Surface* frame = dc->window->frame.get();
    int args[6] = {x, y, w, h, sx, sy};
    bool same = src == dc->last_source && std::equal(args, args + 6, dc->last_args);
    bool changed = !same || src->version != dc->last_version;
    // the same copy again shows only the parts of the source drawn on since; another shows it all
    Damage damage = Take_damage(src);
    if (!same) damage = Damage{{Rect{sx, sy, sx + w, sy + h}}, 1};
    Rect shown[DAMAGE_RECTS];
    int count = 0;
    bool shows = Shows_frames();
    for (int i = 0; changed && i < damage.count; i++) {
        Span c = In_frame(damage.rects[i], x, y, w, h, sx, sy, *frame);
        if (c.w <= 0) continue;
        if (shows) BitBlt(frame, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy, SRCCOPY);
        shown[count++] = Rect{c.dx, c.dy, c.dx + c.w, c.dy + c.h};
    }
    dc->last_source = src;
    dc->last_version = src->version;
    std::copy(args, args + 6, dc->last_args);
    Window_service()->present(*frame, shown, count, dc->window->layers);
    return true;
}

bool Set_layer(Window* window, int layer, const Surface* picture, int x, int y, int alpha) {
    if (!IsWindow(window) || layer < 0 || layer >= WINDOW_LAYERS || alpha < 0 || alpha > 255) return false;
    Layer& l = window->layers.layer[layer];
    Rect before = Layer_rect(l);
    l = Layer{};
    bool made = !picture || Copy_into(l, picture, x, y, alpha);
    Rect changed = Rect_or(before, Layer_rect(l));
    if (!Rect_empty(changed)) Window_service()->repaint(*window->frame, changed, window->layers);
    return made;
}

bool Set_client_size(Window* window, int width, int height) {
    if (!IsWindow(window) || width < 1 || height < 1) return false;
    Window_service()->set_client_size(width, height);
    return true;
}

bool Get_client_size(const Window* window, int* width, int* height) {
    if (!IsWindow(window) || !width || !height) return false;
    Window_service()->client_size(width, height);
    return true;
}

bool Get_picture_rect(const Window* window, Rect* rect) {
    int width = 0, height = 0;
    if (!rect || !Get_client_size(window, &width, &height)) return false;
    View v = View_fit(width, height, window->frame->width, window->frame->height);
    *rect = Rect{v.x, v.y, v.x + v.w, v.y + v.h};
    return true;
}

bool Set_fullscreen(Window* window, bool on) {
    if (!IsWindow(window)) return false;
    Window_service()->set_fullscreen(on);
    return true;
}

bool Is_fullscreen(const Window* window) { return IsWindow(window) && Window_service()->fullscreen(); }

bool Set_clipboard_text(const char* text) {
    return text && Window_service()->set_clipboard(Cp932_to_utf8(text));
}
