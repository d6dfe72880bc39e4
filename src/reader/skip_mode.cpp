// Skip mode: its switch, where it ends, and its indicator in a layer of its own.
#include "skip_mode.h"
#include "history.h"
#include "notice.h"
#include "read_marks.h"
#include "screens.h"

namespace {

void Skip_mode_set(bool on, const char* why) {
    reader.skip_mode = on;
    reader.skip_waiting = false;
    Skip_indicator_redraw();
    if (why) Notice_show(why);
}

bool Page_unread() {
    const std::deque<Page>& pages = History_pages();
    return !reader.settings.skip_all && !pages.empty() && !Read_marks_has(pages.back().read_key);
}

} // namespace

void Skip_mode_toggle() {
    bool on = !reader.skip_mode;
    Skip_mode_set(on, on ? Sjis("スキップ：オン") : Sjis("スキップ：オフ"));
}

void Skip_mode_end(const char* why) {
    if (reader.skip_mode) Skip_mode_set(false, why);
}

void Skip_mode_watch() {
    if (!reader.skip_mode) return;
    // where Ctrl's skip waits for the reader, skip mode hands the story back
    if (game.select_run == 1 || game.menu_state == MENU_SHOWN || game.halt_run == 1)
        Skip_mode_end(Sjis("スキップ：オフ"));
    else if (!reader.ctrl && Page_unread())
        Skip_mode_end(Sjis("未読の文章でスキップを止めました"));
}

bool Skipping() { return reader.ctrl || reader.skip_mode; }

void Skip_indicator_redraw() {
    if (!reader.skip_mode || !Plate_show(LAYER_INDICATOR, Sjis("スキップ"), true))
        Set_layer(game.main_window, LAYER_INDICATOR, nullptr, 0, 0);
}
