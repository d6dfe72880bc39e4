// The page has no files, pipes or speech service of the desktop's: the text out and reading aloud are
// the desktop's, and the page's story is told to neither. A reader who turns speech on is told so once.
#include "notice.h"
#include "speech.h"
#include "text_out.h"

bool Text_out_open(const std::string&, std::string* why) {
    *why = "the text out is the desktop's: the page has no files or pipes to write to";
    return false;
}

void Text_out_record(const Record&) {}

void Text_out_end() {}

void Speech_record(const Record&) {}

void Speech_stop() {}

void Speech_settings() {
    static bool told = false;
    if (!reader.settings.speech || told) return;
    told = true;
    Notice_show(Sjis("読み上げはデスクトップ版だけの機能です"));
}

void Speech_turn() {}

DWORD Speech_due() { return INFINITE; }

bool Speech_holds(DWORD) { return false; }

void Speech_end() {}
