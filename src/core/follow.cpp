// A saved place carried into a new version of its script: the save's copy and the file aligned line
// by line, and a landing taken only where the lines around the place leave no doubt.
#include "core.h"

#include <algorithm>
#include <cstring>

namespace {

struct Line {
    int start, size; // its line feed included
};

// A script ends at its mark, or at the buffer's last byte when a buffer holds none.
int Script_length(const unsigned char* buf) {
    const unsigned char* mark = std::find(buf, buf + SCRIPT_LAST, SCRIPT_END_MARK);
    return (int)(mark - buf);
}

// The lines up to the script's end; the last one, after the last line feed, may be empty and holds
// the end itself.
std::vector<Line> Lines_of(const unsigned char* buf) {
    int length = Script_length(buf);
    std::vector<Line> lines;
    int start = 0;
    for (int at = 0; at < length; at++)
        if (buf[at] == '\n') lines.push_back({start, at + 1 - start}), start = at + 1;
    lines.push_back({start, length - start});
    return lines;
}

struct Script {
    const unsigned char* buf;
    std::vector<Line> lines;

    // Line i, or the script's start (-1) or end (past the last line) as a line of its own.
    bool Same(int i, const Script& other, int j) const {
        int n = (int)lines.size(), m = (int)other.lines.size();
        bool edge = i < 0 || i >= n, other_edge = j < 0 || j >= m;
        if (edge || other_edge) return edge && other_edge && (i < 0) == (j < 0);
        const Line &a = lines[(size_t)i], &b = other.lines[(size_t)j];
        return a.size == b.size && std::memcmp(buf + a.start, other.buf + b.start, (size_t)a.size) == 0;
    }
    bool Window(int i, const Script& other, int j) const {
        return Same(i, other, j) && Same(i - 1, other, j - 1) && Same(i + 1, other, j + 1);
    }
    // The lines where the window around line i of from comes, and the last of them.
    int Count(const Script& from, int i, int* last) const {
        int count = 0;
        for (int j = 0; j < (int)lines.size(); j++)
            if (from.Window(i, *this, j)) count++, *last = j;
        return count;
    }
};

Kept Read_fault(Script_read read) {
    switch (read) {
    case Script_read::READ:
        return Kept::NONE;
    case Script_read::CUT:
        return Kept::TOO_LONG;
    case Script_read::MISSING:
        return Kept::MISSING;
    default:
        return Kept::UNREADABLE;
    }
}

} // namespace

int Script_place(const unsigned char* then, int cur, const unsigned char* now, Kept* why) {
    Script old{then, Lines_of(then)}, fresh{now, Lines_of(now)};
    if (cur < 0 || cur > Script_length(then)) {
        *why = Kept::PAST_END;
        return -1;
    }
    int i = 0;
    while (i + 1 < (int)old.lines.size() && old.lines[(size_t)i + 1].start <= cur) i++;
    int j = -1, again = -1;
    int found = fresh.Count(old, i, &j);
    // a window the save's copy holds twice could have been either of them
    if (found != 1 || old.Count(old, i, &again) != 1) {
        *why = found == 0 ? Kept::CHANGED : Kept::REPEATED;
        return -1;
    }
    return fresh.lines[(size_t)j].start + cur - old.lines[(size_t)i].start;
}

Followed Script_follow(const char* name, const unsigned char* script, int cur) {
    Followed f;
    f.shown = Folder_path(name);
    f.script.assign(SCRIPT_BUF_SIZE, 0);
    f.why = name[0] ? Read_fault(Script_file_read(name, f.script.data())) : Kept::NO_SCRIPT;
    int length = Script_length(script);
    bool read = f.why == Kept::NONE || f.why == Kept::TOO_LONG;
    // a file cut as the loader cuts it is still the same script when the save's copy was cut alike
    if (read && Script_length(f.script.data()) == length &&
        std::memcmp(f.script.data(), script, (size_t)length) == 0) {
        f.how = Follow::SAME;
        f.why = Kept::NONE;
    } else if (f.why == Kept::NONE) {
        f.cur = Script_place(script, cur, f.script.data(), &f.why);
        if (f.cur >= 0) f.how = Follow::LANDED;
    }
    if (f.how != Follow::LANDED) f.script.assign(script, script + SCRIPT_BUF_SIZE), f.cur = cur;
    return f;
}
