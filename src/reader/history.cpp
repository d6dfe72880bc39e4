// The history's pages, recorded through the story's observer.
#include "history.h"
#include "read_marks.h"

namespace {

std::deque<Page> pages;
bool pause_seen = false; // a pause began on this page, so the page ends as the pause does
bool begin_next = true;  // the next watch begins a page whatever the pause
int last_y = 0;          // the line of the last character typed

// The pauses a page ends at; a halt ends the story.
bool Paused() {
    return game.wait_run == 1 || game.page_run == 1 || game.select_run == 1 ||
           game.menu_state == MENU_SHOWN || game.halt_run == 1;
}

struct History_observer : Observer {
    std::string lines[3];
    bool edge_passed = false; // the text reached the area's edge: its next line is no break of the script's

    void typed(const char* bytes, int length) override {
        if (pages.empty()) return;
        Page& page = pages.back();
        if (!page.text.empty() && game.text_y != last_y) {
            page.text += '\n';
            if (!edge_passed) page.unwrapped += '\n';
        }
        edge_passed = false;
        last_y = game.text_y;
        page.text.append(bytes, (size_t)length);
        page.unwrapped.append(bytes, (size_t)length);
    }
    void wrapped() override { edge_passed = true; }
    // told as the pause begins: a loop may sleep through the whole of a pause and never watch it
    void paused(Pause) override {
        pause_seen = true;
        // typed to its end, by skipping too
        if (!pages.empty()) Read_marks_add(pages.back().read_key);
    }
    void offered(const char* const* choices) override {
        for (int k = 0; k < 3; k++) lines[k] = choices[k];
    }
    void chose(int k) override {
        if (!pages.empty() && k >= 1 && k <= 3) pages.back().choice = lines[k - 1];
    }
};

History_observer history_observer;

void Begin_page() {
    if (pages.size() >= HISTORY_PAGES) pages.pop_front();
    pages.emplace_back();
    Page& page = pages.back();
    page.kept = Snapshot_take(&page.start);
    // a restored save's page begun at its pause has no text of its own
    page.read_key = Paused() ? 0 : Page_key();
}

} // namespace

void History_start() {
    observer = &history_observer;
    History_reset();
}

void History_watch() {
    if (!begin_next && !(pause_seen && !Paused())) return;
    Begin_page();
    begin_next = false;
    // a page begun at a pause (a restored save's) ends as that pause does
    pause_seen = Paused();
}

void History_reset() {
    pages.clear();
    begin_next = true;
}

const std::deque<Page>& History_pages() { return pages; }

std::string History_text_now() {
    for (auto page = pages.rbegin(); page != pages.rend(); ++page)
        if (!page->unwrapped.empty()) return page->unwrapped;
    return "";
}

const char* History_again(Followed* follow) {
    Snapshot now;
    bool kept = !pages.empty() && pages.back().kept;
    if (!kept && !Snapshot_take(&now)) return Sjis("メモリが足りないため読み直せません");
    if (const char* why = Snapshot_restore(kept ? pages.back().start : now, follow)) return why;
    // the page begins again in the new text, and its snapshot holds that text
    if (!pages.empty()) pages.pop_back();
    Begin_page();
    pause_seen = Paused();
    return nullptr;
}

const char* History_back(size_t i) {
    if (i >= pages.size() || !pages[i].kept) return Sjis("このページには戻れません");
    if (const char* why = Snapshot_restore(pages[i].start)) return why;
    pages.erase(pages.begin() + (std::ptrdiff_t)i + 1, pages.end());
    pages.back().text.clear();
    pages.back().unwrapped.clear();
    pages.back().choice.clear();
    pause_seen = Paused();
    return nullptr;
}
