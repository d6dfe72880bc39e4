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
    Indicator_redraw();
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
    else if (!Skip_held() && Page_unread())
        Skip_mode_end(Sjis("未読の文章でスキップを止めました"));
}

bool Skip_held() { return reader.ctrl || reader.pad_triggers != 0; }

bool Skipping() { return Skip_held() || reader.skip_mode; }
