// Labels and jumps: a '*' at the start of a line names a place; jump and file_change move cur there.
#include "script.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int WINDOW = SCRIPT_BUF_SIZE - 1; // positions 0 to 65,534 are searched

bool Ends_label(unsigned char b) { return b == ' ' || b == '\n' || b == '\r' || b == '\t'; }

// Reports a label that cannot be found and ends the program.
void Label_missing(const char* target, int stop) {
    Msg_box_arg(Sjis("ラベル [%s] が見つかりません。強制終了の刑♪"), target, "Com_jump()");
    Game_end();
    game.cur = stop;
}

} // namespace

bool At_line_start(int star) {
    int p = star - 1;
    while (p >= 0 && (Script_at(p) == ' ' || Script_at(p) == '\t')) p--;
    return p < 0 || Script_at(p) == '\r' || Script_at(p) == '\n';
}

int Find_label(const char* target, int* stop) {
    Observe_read(game.cur - 1);
    char text[33];
    int pos = 0;
    while (pos < WINDOW) {
        if (Script_at(pos) != '*') {
            pos++;
            continue;
        }
        bool line_start = At_line_start(pos);
        // the label's text: the '*' and what follows, up to a blank, tab, CR or LF, 32 bytes at most
        int n = 0;
        do {
            text[n++] = (char)Script_at(pos++);
        } while (n < 32 && pos < SCRIPT_BUF_SIZE && !Ends_label(Script_at(pos)));
        text[n] = 0;
        if (line_start && std::strcmp(text, target) == 0) {
            game.cur = std::min(pos, SCRIPT_BUF_SIZE - 1);
            if (observer) observer->reads_from(pos - n);
            Observe_read(game.cur - 1);
            return 1;
        }
    }
    *stop = std::min(pos, SCRIPT_BUF_SIZE - 1);
    return 0;
}

int Com_jump() {
    Cur_forward(1);
    char target[256];
    std::snprintf(target, sizeof target, "%s", Read_word());
    int stop = 0;
    if (!Find_label(target, &stop)) Label_missing(target, stop);
    return 0;
}

int Com_file_change() {
    Cur_forward(1);
    // the word is at most 254 bytes: the path is cut, never overrun, past 249 of them
    char path[256];
    std::snprintf(path, sizeof path, ".\\txt\\%s", Read_word());
    Skip_name_gap();
    char target[256];
    std::snprintf(target, sizeof target, "%s", Read_word());
    // a label the new script lacks is the file_change's fault: told at its line, not the new script's
    std::string here = Place_of(game.cur);
    Xalo_bload(path, game.script_buf);
    int stop = 0;
    if (!Find_label(target, &stop)) {
        Tell_at(here);
        Label_missing(target, stop);
        Tell_at("");
    }
    return 0;
}

namespace {

// The script as the author named it, or else in txt/ as file_change names scripts; path is CP932.
bool Find_script(const char* name, char* path, size_t size) {
    for (const char* folder : {"", ".\\txt\\"}) {
        if (*folder && (std::strchr(name, '/') || std::strchr(name, '\\'))) break;
        std::snprintf(path, size, "%s%s", folder, name);
        if (FILE* f = Game_fopen(path)) {
            std::fclose(f);
            return true;
        }
    }
    return false;
}

// The label as typed, then with its ':' added or taken away, since a label line usually ends in one.
bool Find_start_label(const char* label) {
    char target[256];
    std::snprintf(target, sizeof target, "%s%s", label[0] == '*' ? "" : "*", Utf8_to_cp932(label).c_str());
    int stop = 0;
    if (Find_label(target, &stop)) return true;
    size_t n = std::strlen(target);
    if (n > 0 && target[n - 1] == ':')
        target[n - 1] = 0;
    else if (n + 1 < sizeof target)
        std::strcat(target, ":");
    return Find_label(target, &stop) == 1;
}

} // namespace

int Script_first(const char* script, char* why, size_t why_size) {
    char path[sizeof game.script_name];
    if (!Find_script(Utf8_to_cp932(script).c_str(), path, sizeof path)) {
        std::snprintf(why, why_size, "there is no script %s in the game folder", script);
        return 0;
    }
    std::snprintf(game.script_name, sizeof game.script_name, "%s", path);
    return 1;
}

int Script_start_at(const char* label, std::span<const int> flags, char* why, size_t why_size) {
    for (int n : flags) {
        if (!Valid_flag(n)) {
            std::snprintf(why, why_size, "there is no flag %d: flags are 0 to %d", n, FLAG_COUNT - 1);
            return 0;
        }
    }
    if (label && *label) {
        if (!Find_start_label(label)) {
            std::snprintf(why, why_size, "there is no label %s in %s", label,
                          Folder_path(game.script_name).c_str());
            return 0;
        }
        // a jump's handler leaves cur on the byte that ended the label, and the stepper resumes
        // two bytes on, never past the end mark: here the stepper starts at cur itself
        Step_on();
        Step_on();
    }
    for (int n : flags) game.flags[n] = 1;
    return 1;
}
