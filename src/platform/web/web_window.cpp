// The browser backend's page window: the clock, the queue the page's events fill, the canvas the
// changed parts of the picture go to, the box in the page, and the files and storage of the page.
#include "web_window.h"
#include "web_imports.h"

#include "desktop_files.h"

#include <algorithm>

namespace {

Web_window* current = nullptr;

} // namespace

Web_window* Current_web_window() { return current; }

DWORD Web_window::ticks() { return (DWORD)(uint64_t)Web_now(); }

// Handing the page its thread costs the page a task and the engine an unwinding of its stack, far
// more than a desktop's sleep: a rest is owed, and taken within the wait that follows it or, when
// none does, at the next pass's rest, so that the page still has its turn at least every other pass.
void Web_window::sleep(DWORD ms) {
    after_press = false;
    if (owed) return Rest(std::max(owed, ms), 0);
    owed = ms;
}

void Web_window::Rest(DWORD ms, int wake_on_event) {
    owed = 0;
    Web_wait(ms, wake_on_event);
}

void Web_window::pump(Event_sink sink) {
    // a box's own loop never rests, and the box must hear its own release
    if (boxes > 0) after_press = false;
    while (!after_press && !queue.empty()) {
        Web_message m = queue.front();
        queue.pop_front();
        sink(m.message, m.wParam, m.lParam);
        // the menus see a press by the held buttons on their passes: what comes after a press
        // (the release of a quick tap) waits one pass
        bool press =
            m.message == WM_LBUTTONDOWN || m.message == WM_RBUTTONDOWN || m.message == WM_MBUTTONDOWN;
        if (press && boxes == 0) after_press = true;
    }
}

void Web_window::wait_event(DWORD ms) {
    after_press = false;
    if (queue.empty()) Rest(std::max(ms, owed), 1);
}

void Web_window::wake() { Web_wake(); }

bool Web_window::instance_running(const std::string& key) { return Web_lock_held(key.c_str()) != 0; }

bool Web_window::claim_instance(const std::string& key) { return Web_lock_take(key.c_str()) != 0; }

bool Web_window::open_window(const char*, const char*, int width, int height, const Icon&) {
    current = this;
    open = true;
    pic_w = width;
    pic_h = height;
    Web_window_open();
    return true;
}

void Web_window::close_window() {
    open = false;
    Web_window_close();
}

void Web_window::show_window() { expose(); }

void Web_window::client_size(int* width, int* height) {
    *width = client_w;
    *height = client_h;
}

void Web_window::set_fullscreen(bool on) { Web_set_fullscreen(on); }

bool Web_window::fullscreen() { return Web_is_fullscreen() != 0; }

bool Web_window::set_clipboard(const std::string& text) { return Web_set_clipboard(text.c_str()) != 0; }

void Web_window::present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) {
    if (!open) return;
    if (exposed) {
        Rect whole{0, 0, client_w, client_h};
        exposed = false;
        return Draw(frame, layers, &whole, 1);
    }
    Rect parts[DAMAGE_RECTS];
    int n = 0;
    for (int i = 0; i < count && i < DAMAGE_RECTS; i++)
        parts[n++] = View_rect(view, pic_w, pic_h, changed[i]);
    // Client_draw draws the layers again over every part it draws
    Draw(frame, layers, parts, n);
}

void Web_window::repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) {
    if (!open) return;
    Draw(frame, layers, &part, 1);
}

// The client rectangles as Client_draw draws them, each handed to the canvas as RGBA.
void Web_window::Draw(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count) {
    client.resize((size_t)client_w * client_h);
    for (int i = 0; i < count; i++) {
        Rect r = Rect_and(parts[i], Rect{0, 0, client_w, client_h});
        if (Rect_empty(r)) continue;
        Client_draw(frame, view, layers, r, client.data(), client_w, client_w, client_h);
        int w = r.right - r.left, h = r.bottom - r.top;
        rgba.resize((size_t)w * h * 4);
        uint8_t* out = rgba.data();
        for (int y = r.top; y < r.bottom; y++) {
            const uint32_t* row = client.data() + (size_t)y * client_w;
            for (int x = r.left; x < r.right; x++, out += 4) {
                uint32_t p = row[x];
                out[0] = (uint8_t)(p >> 16);
                out[1] = (uint8_t)(p >> 8);
                out[2] = (uint8_t)p;
                out[3] = 255;
            }
        }
        Web_show(rgba.data(), r.left, r.top, w, h, client_w, client_h);
    }
}

void Web_window::box_open(const std::string& text, const std::string& caption) {
    boxes++;
    Web_box_show(text.c_str(), caption.c_str());
}

bool Web_window::box_turn(bool (*dispatch_pending)()) {
    if (!dispatch_pending()) return false;
    if (Web_box_answered()) return false;
    Web_wait(50, 1);
    return !Web_box_answered();
}

void Web_window::box_close() {
    if (boxes > 0) boxes--;
    Web_box_hide();
}

void Web_window::bring_file(const std::string& path) { Web_fetch(path.c_str()); }

bool Web_window::persist() { return Web_sync() != 0; }

void Web_window::post(UINT message, WPARAM wParam, LPARAM lParam) {
    queue.push_back({message, wParam, lParam});
    Web_wake();
}

// A canvas position on the picture; positions on the bars clamp to the nearest edge.
void Web_window::post_at(UINT message, WPARAM wParam, int x, int y) {
    int px = 0, py = 0;
    View_to_picture(view, pic_w, pic_h, x, &px, y, &py);
    post(message, wParam, MAKELPARAM(px, py));
}

void Web_window::resize(int width, int height) {
    if (width < 1 || height < 1) return;
    bool changed = width != client_w || height != client_h;
    client_w = width;
    client_h = height;
    view = View_fit(client_w, client_h, pic_w, pic_h);
    exposed = true;
    if (changed) post(WM_SIZE, fullscreen() ? SIZE_MAXIMIZED : SIZE_RESTORED, MAKELPARAM(width, height));
    post(WM_PAINT, 0, 0);
}

void Web_window::expose() {
    exposed = true;
    post(WM_PAINT, 0, 0);
}
