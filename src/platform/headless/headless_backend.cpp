// The headless backend: virtual time, scripted input, recorded dialogs and audio, presents counted,
// and on request the client area as the desktop's window would show it.
#include "backend/backend.h"
#include "backend/backend_hooks.h"
#include "headless.h"
#include "sound/mixer.h"

#include <algorithm>

namespace {

constexpr DWORD NEVER = 0xFFFFFFFFu;

// A countdown to a refusal: true when it reaches its end.
bool Count_down(int& left) { return left > 0 && --left == 0; }

// A length in seconds as virtual ms; NEVER when it is not known.
DWORD Length_ms(double seconds) {
    return seconds >= 0 && seconds < 86400 ? (DWORD)(seconds * 1000 + 0.5) : NEVER;
}

} // namespace

class Headless_backend : public Backend, public Window_backend, public Sound_backend, public Backend_hooks {
  public:
    explicit Headless_backend(DWORD start_tick) {
        state.start = start_tick;
        state.now = start_tick;
    }
    ~Headless_backend() override {
        if (mixer) Mixer_close();
    }
    Headless state;

    Window_backend& window_service() override { return *this; }
    Sound_backend& sound_service() override { return *this; }

    DWORD ticks() override { return state.now; }
    void sleep(DWORD ms) override { state.now += ms; }

    void pump(Event_sink sink) override {
        DWORD elapsed = state.elapsed();
        if (state.turn_action) state.turn_action();
        // by index: an action may register further calls
        while (state.next_call < state.calls.size() && state.calls[state.next_call].ms <= elapsed)
            state.calls[state.next_call++].action();
        if (playing && elapsed - play_start >= length[playing - 1]) {
            int device = playing;
            playing = 0;
            Music_ended(device);
        }
        while (state.next_event < state.events.size() && state.events[state.next_event].ms <= elapsed) {
            const auto& e = state.events[state.next_event++];
            sink(e.message, e.wParam, e.lParam);
        }
        if (state.has_deadline && !state.deadline_hit && elapsed >= state.deadline) {
            state.deadline_hit = true;
            sink(WM_QUIT, 0, 0);
        }
    }

    // The clock moves on by ms, or to the first thing that comes sooner: an input, a timed call,
    // the end of a piece, the deadline. A tool that acts at every turn still gets one a ms.
    void wait_event(DWORD ms) override {
        if (state.turn_action) ms = std::min<DWORD>(ms, 1);
        DWORD elapsed = state.elapsed();
        auto sooner = [&](DWORD at) { ms = at > elapsed ? std::min(ms, at - elapsed) : 0; };
        if (state.next_event < state.events.size()) sooner(state.events[state.next_event].ms);
        if (state.next_call < state.calls.size()) sooner(state.calls[state.next_call].ms);
        if (state.has_deadline && !state.deadline_hit) sooner(state.deadline);
        if (playing && length[playing - 1] != NEVER) sooner(play_start + length[playing - 1]);
        state.now += ms;
    }
    void wake() override {}

    // every headless run is its own desktop: no other copy is ever running
    bool instance_running(const std::string&) override { return false; }
    bool claim_instance(const std::string&) override { return true; }

    bool open_window(const char*, const char*, int width, int height, const Icon&) override {
        size = Rect{0, 0, width, height};
        return true;
    }
    void close_window() override { full = false; }
    Rect desktop_rect() override { return Rect{0, 0, 1920, 1080}; }
    Rect window_rect() override { return Rect{left, top, left + size.right, top + size.bottom}; }
    void move_window(int x, int y) override {
        left = x;
        top = y;
    }
    void show_window() override {}
    void present(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) override {
        state.present_count++;
        if (count > 0) state.upload_count++;
        if (state.keeping_client) Show_changed(frame, changed, count, layers);
    }
    void repaint(const Surface& frame, const Rect& part, const Layer_stack& layers) override {
        if (state.keeping_client) Show(frame, &part, 1, layers);
    }
    // the sizes are kept, as a desktop would keep them; the picture is drawn only when kept
    void set_client_size(int width, int height) override { size = Rect{0, 0, width, height}; }
    void client_size(int* width, int* height) override {
        *width = size.right;
        *height = size.bottom;
    }
    void set_fullscreen(bool on) override { full = on; }
    bool fullscreen() override { return full; }
    bool set_clipboard(const std::string& text) override {
        state.clipboard_text = text;
        return true;
    }

    // a box is recorded and answered OK at once: its first turn finds it closed
    void box_open(const std::string& text, const std::string& caption) override {
        state.box_log.push_back(Headless_box{state.elapsed(), caption, text});
        if (state.box_listener) state.box_listener(state.box_log.back());
    }
    bool box_turn(bool (*)()) override { return false; }
    void box_close() override {}

    // effects are only recorded
    bool play_sound(const std::string&, bool) override { return true; }
    void play_chime() override {}
    void stop_sound() override {}

    // A piece is checked as the desktop checks it, to know that it plays and how long: an MP3 piece
    // decoded and let go, a MIDI file read whole with the soundfont only looked for.
    MCIERROR open_music(int device, const std::string& file, bool midi) override {
        double seconds = -1;
        MCIERROR result = midi ? Open_midi(file, &seconds) : Open_mp3(file, &seconds);
        length[device - 1] = Length_ms(seconds);
        return result;
    }
    void play_music(int device) override {
        playing = device;
        play_start = state.elapsed();
    }
    void stop_music(int device) override {
        if (playing == device) playing = 0;
    }
    void close_music(int device) override { stop_music(device); }
    void set_volumes(DWORD effects, DWORD music) override {
        state.effect_volume = effects;
        state.music_volume = music;
    }

    // the hooks: no screen to draw unless the client is kept, every audio call recorded, files told
    bool shows_frames() override { return state.keeping_client; }
    bool refuse_surface() override { return Count_down(state.surfaces_to_fail); }
    bool refuse_font() override { return Count_down(state.fonts_to_fail); }
    void sound_called(const char* sound, DWORD flags) override {
        state.sound_log.push_back(
            Headless_sound{state.audio_calls++, state.elapsed(), sound ? sound : "", flags});
    }
    void mci_called(const char* command, MCIERROR result, const char* reply) override {
        state.mci_log.push_back(Headless_mci{state.audio_calls++, state.elapsed(), command, result, reply});
    }
    void file_sought(const std::string& path, bool found) override {
        if (state.file_listener) state.file_listener(path, found);
    }

  private:
    // The frame's changed rectangles, as the client rectangles they scale to.
    void Show_changed(const Surface& frame, const Rect* changed, int count, const Layer_stack& layers) {
        View view = View_fit(size.right, size.bottom, frame.width, frame.height);
        Rect parts[DAMAGE_RECTS];
        int n = 0;
        for (int i = 0; i < count && i < DAMAGE_RECTS; i++)
            parts[n++] = View_rect(view, frame.width, frame.height, changed[i]);
        Show(frame, parts, n, layers);
    }
    // The client parts as the desktop's window would draw them; the whole of it at a new size.
    void Show(const Surface& frame, const Rect* parts, int count, const Layer_stack& layers) {
        Surface& shown = state.shown;
        Rect whole{0, 0, size.right, size.bottom};
        if (shown.width != size.right || shown.height != size.bottom) {
            state.shown_pixels.assign((size_t)size.right * size.bottom, 0);
            shown.width = size.right;
            shown.height = size.bottom;
            shown.pixels = state.shown_pixels.data();
            parts = &whole;
            count = 1;
        }
        View view = View_fit(size.right, size.bottom, frame.width, frame.height);
        for (int i = 0; i < count; i++)
            Client_draw(frame, view, layers, parts[i], shown.pixels, shown.width, shown.width, shown.height);
    }

    MCIERROR Open_midi(const std::string& file, double* seconds) {
        std::vector<unsigned char> bytes;
        return Mixer_read_midi(file, state.soundfont_given ? state.soundfont : Installed_soundfont(), &bytes,
                               seconds);
    }
    MCIERROR Open_mp3(const std::string& file, double* seconds) {
        // no headless loop reads SDL's events: SIGTERM and SIGINT keep their default, ending the run
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (!mixer) mixer = Mixer_open(true);
        Mix_Music* piece = nullptr;
        MCIERROR result = Mixer_load_mp3(file, &piece, seconds);
        Mix_FreeMusic(piece);
        return result;
    }

    bool mixer = false;
    DWORD length[MUSIC_DEVICES] = {};
    int playing = 0; // the device whose piece plays, and since when
    DWORD play_start = 0;
    Rect size{};
    int left = 0, top = 0;
    bool full = false;
};

DWORD Headless::elapsed() const { return now - start; }

void Headless::inject(DWORD ms, UINT message, WPARAM wParam, LPARAM lParam) {
    Event e{ms, message, wParam, lParam};
    auto at = std::upper_bound(events.begin() + (ptrdiff_t)next_event, events.end(), e,
                               [](const Event& a, const Event& b) { return a.ms < b.ms; });
    events.insert(at, e);
}

void Headless::call_at(DWORD ms, std::function<void()> action) {
    auto at = std::upper_bound(calls.begin() + (ptrdiff_t)next_call, calls.end(), ms,
                               [](DWORD t, const Timed_call& c) { return t < c.ms; });
    calls.insert(at, Timed_call{ms, std::move(action)});
}

void Headless::stop_at(DWORD ms) {
    has_deadline = true;
    deadline = ms;
}

Headless& Use_headless_backend(DWORD start_tick) {
    auto backend = std::make_unique<Headless_backend>(start_tick);
    Headless_backend* made = backend.get();
    Set_backend(std::move(backend));
    Set_hooks(made);
    return made->state;
}
