// The reader's observer: the history is told first, so that a page's record holds the page's text
// (unwrapped: its lines as the script broke them);
// then the records go to the outlets. A page is told once, at the first pause that ends it (a
// choice's page as its lines are offered, before them), and never when it has no text.
#include "records.h"
#include "history.h"
#include "speech.h"
#include "text_out.h"

#include <string>

namespace {

void Tell(const Record& record) {
    Text_out_record(record);
    Speech_record(record);
}

void Tell_page() {
    const std::deque<Page>& pages = History_pages();
    if (!pages.empty() && !pages.back().unwrapped.empty())
        Tell(Record{Record_kind::PAGE, {pages.back().unwrapped}});
}

struct Record_observer : Observer {
    Observer* history = nullptr;
    bool page_told = false; // the choice's page went with its lines, before its pause

    void typed(const char* bytes, int length) override { history->typed(bytes, length); }
    void wrapped() override { history->wrapped(); }
    void paused(Pause kind) override {
        history->paused(kind);
        if (!(page_told && kind == Pause::CHOICE)) Tell_page();
        page_told = false;
    }
    void boxed(const char* text, const char* caption, const char* detail) override {
        history->boxed(text, caption, detail);
        Tell(Record{Record_kind::BOX, {caption ? caption : "", text ? text : ""}});
    }
    void offered(const char* const* lines) override {
        history->offered(lines);
        Tell_page();
        page_told = true;
        Tell(Record{Record_kind::CHOICE, {lines[0], lines[1], lines[2]}});
    }
    void chose(int k) override {
        history->chose(k);
        Tell(Record{Record_kind::CHOSE, {std::to_string(k)}});
    }
    void loaded(const char* path) override { history->loaded(path); }
    void no_room() override { history->no_room(); }
    void reads_from(int pos) override { history->reads_from(pos); }
    void read_up_to(int last) override { history->read_up_to(last); }
};

Record_observer record_observer;

} // namespace

void Records_start() {
    if (observer == &record_observer || !observer) return;
    record_observer.history = observer;
    record_observer.page_told = false;
    observer = &record_observer;
}
