// Auto-play: the reader's hand, driven by what the engine is doing at each loop turn.
#include "autoplay.h"

#include "app.h"
#include "interact.h"
#include "png.h"

#include <cstdio>

namespace {

// Between two coordinates of a script's choosing, however large.
int Middle(int low, int high) { return (int)(((int64_t)low + high) / 2); }

} // namespace

Autoplay::Autoplay(Headless& h, Autoplay_options o) : headless(h), options(std::move(o)) {}

void Autoplay::turn() {
    // 1 click-wait, 2 page-wait, 3 halt: the kind of pause the story is in, 0 when none
    int waiting = game.wait_run ? 1 : game.page_run ? 2 : game.halt_run ? 3 : 0;
    if (waiting && waiting != was_waiting) {
        wait_began = headless.elapsed();
        wait_clicked = false;
        if (waiting != 3) paused(waiting == 1 ? "wait" : "page");
    }
    was_waiting = waiting;
    // a pause ends at the press itself: the button goes up before the next pass, so that text typed
    // at once finds it no longer held over the choice it brings
    if (waiting && options.auto_click && !wait_clicked &&
        headless.elapsed() - wait_began >= options.click_after) {
        wait_clicked = true;
        click(headless.elapsed(), game.mouse_x, game.mouse_y, 0);
    }
    if (game.select_run && !was_choosing) on_choice();
    was_choosing = game.select_run;
    if (game.menu_state == MENU_SHOWN && was_menu != MENU_SHOWN) on_menu();
    // the menu has taken its press: let go at once, for the same reason
    if (game.menu_state != MENU_SHOWN && was_menu == MENU_SHOWN && options.start_menu)
        headless.inject(headless.elapsed(), WM_LBUTTONUP, 0, MAKELPARAM(game.mouse_x, game.mouse_y));
    was_menu = game.menu_state;
}

// The pointer onto the middle of the chosen line, then a press; the menu picks at its next pass.
void Autoplay::on_choice() {
    paused("choice");
    int k = next_choice < options.choices.size() ? options.choices[next_choice++]
            : options.pick                       ? options.pick()
                                                 : 0;
    if (k < 1 || k > 3) return;
    const Rect& r = game.choice_rect[k - 1];
    // a choice takes a press only while it is held at one of its passes
    click(headless.elapsed(), Middle(r.left, r.right), Middle(r.top, r.bottom), 1);
}

// The button is pressed and held: the menu takes it once its first MENU_HOLD ms are over.
void Autoplay::on_menu() {
    if (!options.start_menu) return;
    const Rect& b = game.menu_button;
    int x = Add32(game.menu_x, Middle(b.left, b.right));
    int y = Add32(game.menu_y, Middle(b.top, b.bottom));
    DWORD now = headless.elapsed();
    headless.inject(now, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    headless.inject(now, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    headless.inject(now + MENU_HOLD + 50, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Autoplay::click(DWORD at, int x, int y, DWORD held) {
    headless.inject(at, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    headless.inject(at, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    headless.inject(at + held, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Autoplay::paused(const char* kind) {
    shot(kind);
    if (options.at_pause) options.at_pause();
}

void Autoplay::shot(const char* kind) {
    if (options.shots_dir.empty() || !game.bs_surface) return;
    char name[64];
    std::snprintf(name, sizeof name, "/%04d-%s.png", ++shot_count, kind);
    std::string path = options.shots_dir + name, error;
    if (Write_png(*game.bs_surface, path, &error)) return;
    std::fprintf(stderr, "veltrane-replay: shot %s: %s\n", path.c_str(), error.c_str());
    shots_ok = false;
}
