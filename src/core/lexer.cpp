// The scanning primitives: numbers, words, lines, and the skips over branches and blocks. Each one
// reads and moves cur, and none reads or moves it past the last byte of script_buf.
#include "core.h"

#include <cstring>

namespace {

void Not_decimal() {
    // the 32 bytes from the bad one on, never cutting a character in two
    char text[33];
    int n = 0;
    while (game.cur + n <= SCRIPT_LAST) {
        int length = Cp932_is_lead(Script_at(game.cur + n)) ? 2 : 1;
        if (n + length > 32 || game.cur + n + length - 1 > SCRIPT_LAST) break;
        for (int i = 0; i < length; i++, n++) text[n] = (char)Script_at(game.cur + n);
    }
    text[n] = 0;
    Msg_box_arg(Sjis("[%s]：10進数ではありません"), text, Sjis("えらー"));
    PostMessage(game.main_window, WM_CLOSE, 0, 0);
}

} // namespace

// The second byte of a two-byte character may be 0x7B or 0x7D. The first byte of the buffer has
// nothing before it.
bool Guarded(int pos) { return pos == 0 || Script_at(pos - 1) < 0x80; }

void Search_end(int began) {
    Observe_read(began - 1);
    Tell_at(Place_of(began));
    Msg_box(Sjis("サーチＥＮＤ。{ }の対応が変？かも･･･（謎）"), "Error");
    Tell_at("");
    game.cur = SCRIPT_LAST;
    Script_end();
}

void Cur_forward(int n) { game.cur = game.cur + n > SCRIPT_LAST ? SCRIPT_LAST : game.cur + n; }

int Read_num() {
    while (game.cur < SCRIPT_LAST && Script_at(game.cur) < '!') game.cur++;
    uint32_t value = 0;
    bool negative = false;
    for (;;) {
        unsigned char b = Script_at(game.cur);
        if (b >= '0' && b <= '9')
            value += b - '0';
        else if (b == '-')
            negative = true; // and counts as a digit 0
        else
            Not_decimal();
        if (game.cur >= SCRIPT_LAST) break;
        game.cur++;
        b = Script_at(game.cur);
        if (b < '!' || b == ',') break;
        value *= 10;
    }
    return (int32_t)(negative ? 0u - value : value);
}

const char* Read_word() {
    while (game.cur < SCRIPT_LAST && (Script_at(game.cur) == ' ' || Script_at(game.cur) == '\t')) game.cur++;
    int n = 0, mark = -1;
    while (n < 254) {
        unsigned char b = Script_at(game.cur);
        if (b == '\t' || b == '\n' || b == '\r' || b == ' ' || b == ',') break;
        if (b == SCRIPT_END_MARK && mark < 0) mark = game.cur;
        game.word_buf[n++] = (char)b;
        if (game.cur >= SCRIPT_LAST) break;
        game.cur++;
    }
    game.word_buf[n] = 0;
    // the word is read through the end mark, but the story goes no further than the mark
    if (mark >= 0) game.cur = mark;
    return game.word_buf;
}

const char* Read_line() {
    while (game.cur < SCRIPT_LAST && (Script_at(game.cur) == ' ' || Script_at(game.cur) == '\t')) game.cur++;
    int n = 0;
    while (n < 254) {
        unsigned char b = Script_at(game.cur);
        // a line ends at its CR LF; a lone LF (a script saved with bare line feeds) ends it too
        if (b == '\n' || (b == '\r' && game.cur < SCRIPT_LAST && Script_at(game.cur + 1) == '\n')) break;
        game.line_buf[n++] = (char)b;
        if (game.cur >= SCRIPT_LAST) break;
        game.cur++;
    }
    game.line_buf[n] = 0;
    return game.line_buf;
}

int Enter_block() {
    int began = game.cur;
    while (game.cur < SCRIPT_LAST && Script_at(game.cur) != '{') game.cur++;
    if (Script_at(game.cur) != '{') {
        Search_end(began);
        return 0;
    }
    Cur_forward(1);
    return 1;
}

int Skip_branch() {
    int began = game.cur, depth = 0;
    Observe_read(began - 1);
    for (; game.cur <= SCRIPT_LAST; game.cur++) {
        if (!Guarded(game.cur)) continue;
        unsigned char b = Script_at(game.cur);
        if (b == '/' && depth == 0) {
            if (game.cur < SCRIPT_LAST) game.cur++;
            return 0;
        }
        if (b == '{') depth++;
        if (b == '}') depth--;
    }
    Search_end(began);
    return 0;
}

int Skip_block() {
    int began = game.cur, depth = 1;
    Observe_read(began - 1);
    for (;;) {
        if (Guarded(game.cur)) {
            if (Script_at(game.cur) == '{') depth++;
            if (Script_at(game.cur) == '}') depth--;
        }
        if (game.cur >= SCRIPT_LAST) break;
        game.cur++;
        if (depth == 0) {
            if (game.cur < SCRIPT_LAST) game.cur++;
            return 0;
        }
    }
    Search_end(began);
    return 0;
}

void Skip_list_gap() {
    while (game.cur < SCRIPT_LAST &&
           (Script_at(game.cur) == ',' || Script_at(game.cur) == ' ' || Script_at(game.cur) == '\n'))
        game.cur++;
}

void Skip_name_gap() {
    while (game.cur < SCRIPT_LAST && (Script_at(game.cur) == ' ' || Script_at(game.cur) == ',')) game.cur++;
}
