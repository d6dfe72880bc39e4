// The browser backend's page: the canvas the picture is presented on, the page's events as the game
// window's messages, its clock, the modal box in the page, the game files fetched as they are asked
// for, and the page storage that keeps saves. The page's own script is library.js.
#pragma once

#include "backend/window_backend.h"

#include <deque>
#include <vector>

// A message as the page's events make it, waiting for the loop's next pump.
struct Web_message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Web_window : public Window_backend {
  public:
    DWORD ticks() override;
    void sleep(DWORD ms) override;
    void pump(Event_sink sink) override;
    void wait_event(DWORD ms) override;
    void wake() override;

    bool instance_running(const std::string& key) override;
    bool claim_instance(const std::string& key) override;

    bool open_window(const char* class_name, const char* caption, int width, int height,
                     const Icon& icon) override;
    void close_window() override;
    Rect desktop_rect() override { return Rect{0, 0, client_w, client_h}; }
    Rect window_rect() override { return Rect{0, 0, client_w, client_h}; }
    void move_window(int, int) override {}
    void show_window() override;
    void present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) override;
    void repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) override;
    // The page decides the canvas's size: the reader's sizes follow the page.
    void set_client_size(int, int) override {}
    void client_size(int* width, int* height) override;
    void set_fullscreen(bool on) override;
    bool fullscreen() override;
    bool set_clipboard(const std::string& text) override;

    void box_open(const std::string& text, const std::string& caption) override;
    bool box_turn(bool (*dispatch_pending)()) override;
    void box_close() override;

    void bring_file(const std::string& path) override;
    bool persist() override;

    // From the page's handlers (web_input.cpp): a message for the game window, at a canvas
    // position where it has one.
    void post(UINT message, WPARAM wParam, LPARAM lParam);
    void post_at(UINT message, WPARAM wParam, int x, int y);
    // The canvas has a new size in its own pixels (the page's size, or fullscreen).
    void resize(int width, int height);
    void expose();

  private:
    void Rest(DWORD ms, int wake_on_event);
    void Draw(const Surface& frame, const Layer_stack& layers, const Rect* parts, int count);

    std::deque<Web_message> queue;
    bool after_press = false; // a press was pumped: what follows waits for the next rest
    DWORD owed = 0;           // ms of rest the loop asked for and the page has not yet had
    int boxes = 0;            // boxes open in the page
    bool open = false;
    int client_w = 640, client_h = 480;
    int pic_w = 640, pic_h = 480;
    View view{0, 0, 640, 480};
    bool exposed = true;          // the whole canvas must be drawn at the next present
    std::vector<uint32_t> client; // the canvas's pixels as Client_draw makes them
    std::vector<uint8_t> rgba;    // one rectangle of them as the canvas takes them
};

// The one page window, for the page's handlers.
Web_window* Current_web_window();
