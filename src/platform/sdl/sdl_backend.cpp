// The SDL backend: the clock, the instance lock, the game window, its events and the message boxes,
// each in a file of its own, wired here into the one window service, beside the audio.
#include "sdl.h"
#include "sdl_audio.h"
#include "sdl_boxes.h"
#include "sdl_clock.h"
#include "sdl_events.h"
#include "sdl_instance.h"
#include "sdl_window.h"

#include "backend/backend.h"

namespace {

class Sdl_backend : public Backend, public Window_backend {
  public:
    Window_backend& window_service() override { return *this; }
    Sound_backend& sound_service() override { return audio; }

    DWORD ticks() override { return clock.ticks(); }
    void sleep(DWORD ms) override {
        events.rest();
        clock.sleep(ms);
    }

    void pump(Event_sink sink) override { events.pump(sink); }
    void wait_event(DWORD ms) override {
        if (!SDL_WasInit(SDL_INIT_VIDEO)) return sleep(ms);
        events.wait(ms);
    }
    void wake() override { events.wake(); }

    bool instance_running(const std::string& key) override { return instance.running(key); }
    bool claim_instance(const std::string& key) override { return instance.claim(key); }

    bool open_window(const char* class_name, const char* caption, int width, int height,
                     const Icon& icon) override {
        if (!window.open(class_name, caption, width, height, icon)) return false;
        events.make_wake_event();
        events.start_pads();
        return true;
    }
    void close_window() override { window.close(); }
    Rect desktop_rect() override { return window.desktop_rect(); }
    Rect window_rect() override { return window.frame_rect(); }
    void move_window(int x, int y) override { window.move(x, y); }
    void show_window() override { window.show(); }
    void present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) override {
        window.present(frame, changed, count, layers);
    }
    void repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) override {
        window.repaint(frame, part, layers);
    }
    void set_client_size(int width, int height) override { window.set_client_size(width, height); }
    void client_size(int* width, int* height) override { window.client_size(width, height); }
    void set_fullscreen(bool on) override { window.set_fullscreen(on); }
    bool fullscreen() override { return window.fullscreen(); }
    bool set_clipboard(const std::string& text) override { return SDL_SetClipboardText(text.c_str()) == 0; }

    void box_open(const std::string& text, const std::string& caption) override { boxes.open(text, caption); }
    bool box_turn(bool (*dispatch_pending)()) override { return boxes.turn(dispatch_pending); }
    void box_close() override { boxes.close(); }

  private:
    // destroyed from the last: the boxes close before the window, and the audio goes last
    Sdl_audio audio;
    Sdl_clock clock;
    Sdl_instance instance;
    Sdl_window window;
    Sdl_boxes boxes;
    Sdl_events events{window, boxes};
};

} // namespace

void Use_sdl_backend() { Set_backend(std::make_unique<Sdl_backend>()); }
