// The flags: set, cleared, shown, and tested to choose a branch.
#include "script.h"

#include <cstdio>

bool Valid_flag(int n) { return n >= 0 && n < FLAG_COUNT; }

namespace {

void Bad_flag(int n) {
    char message[256];
    std::snprintf(message, sizeof message, Sjis("フラグ番号 %d は無効です"), n);
    Msg_box(message, "Com_flag_on");
}

int Set_flag(unsigned char value) {
    Cur_forward(1);
    int n = Read_num();
    if (Valid_flag(n))
        game.flags[n] = value;
    else
        Bad_flag(n);
    return 0;
}

} // namespace

int Com_flag_on() { return Set_flag(1); }

int Com_flag_off() { return Set_flag(0); }

int Com_disp_flag() {
    Cur_forward(1);
    int n = Read_num();
    if (!Valid_flag(n)) {
        Bad_flag(n);
        return 0;
    }
    const char* format = game.flags[n] == 1   ? "Flag %d = ON "
                         : game.flags[n] == 0 ? "Flag %d = OFF"
                                              : "Flag %d = UNKNOWN";
    char message[256];
    std::snprintf(message, sizeof message, format, n);
    Msg_box(message, "Com_disp_flag()");
    return 0;
}

int Com_if_flag() {
    Cur_forward(1);
    int n = Read_num();
    if (!Enter_block()) return 0;
    // a number outside the flags names no flag that is on: the second branch runs
    if (Valid_flag(n) && game.flags[n] == 1) return 0;
    Skip_branch();
    return 0;
}
