// Checks on the bytes of a script: its code page, its line ends, its braces and its labels.
#include "cp932.h"
#include "lint_internal.h"

#include <cstdio>
#include <map>

namespace {

std::string Hex(unsigned char b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

// One character as the stepper takes it (a byte of 0x80 or more with the next); returns its size.
int Check_character(Lint& lint, int pos, int* reported_line) {
    unsigned char b = Script_at(pos);
    if (b < 0x80) return 1;
    int line = lint.Line_of(pos);
    if (line == *reported_line) return 2; // one report a line is enough for a file in another code page
    char32_t cp = 0;
    size_t n = Cp932_next((const char*)game.script_buf, (size_t)lint.file().length, (size_t)pos, &cp);
    if (cp == U'\uFFFD') {
        // the stepper takes the byte after it along, whatever it is
        std::string bytes = pos + 1 < lint.file().length ? Hex(b) + " " + Hex(Script_at(pos + 1)) : Hex(b);
        lint.Report(pos, true, "bytes " + bytes + " are not valid CP932");
        *reported_line = line;
    } else if (n == 1) {
        lint.Report(pos, false,
                    "half-width katakana " + Hex(b) + " is drawn together with the byte after it");
        *reported_line = line;
    }
    return 2;
}

// The size of the UTF-8 sequence at pos (shortest form, no surrogates); 0 for none.
int Utf8_size(const unsigned char* b, int pos, int length) {
    unsigned char lead = b[pos];
    int size = lead < 0x80                   ? 1
               : lead >= 0xC2 && lead < 0xE0 ? 2
               : lead >= 0xE0 && lead < 0xF0 ? 3
               : lead >= 0xF0 && lead < 0xF5 ? 4
                                             : 0;
    if (size == 0 || pos + size > length) return 0;
    for (int i = 1; i < size; i++)
        if ((b[pos + i] & 0xC0) != 0x80) return 0;
    if ((lead == 0xE0 && b[pos + 1] < 0xA0) || (lead == 0xED && b[pos + 1] >= 0xA0) ||
        (lead == 0xF0 && b[pos + 1] < 0x90) || (lead == 0xF4 && b[pos + 1] >= 0x90))
        return 0;
    return size;
}

// The first byte of a script that is UTF-8 with some non-ASCII text and is no CP932; -1 otherwise.
int Utf8_text_at(Lint& lint) {
    int length = lint.file().length, first = -1;
    for (int pos = 0, n; pos < length; pos += n) {
        if ((n = Utf8_size(game.script_buf, pos, length)) == 0) return -1;
        if (n > 1 && first < 0) first = pos;
    }
    for (size_t pos = 0; first >= 0 && pos < (size_t)length;) {
        char32_t cp = 0;
        pos += Cp932_next((const char*)game.script_buf, (size_t)length, pos, &cp);
        if (cp == U'\uFFFD') return first;
    }
    return -1;
}

} // namespace

std::string Utf8_hint(const std::string& name) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tda") != 0) return "";
    std::string utf8 = name.substr(0, name.size() - 4) + ".utf8.txt";
    if (!Game_file_found(".\\txt\\" + utf8)) return "";
    return " (txt/" + Shown(utf8) + UTF8_TEXT + ", as txt/" + Shown(name) + ")";
}

void Check_bytes(Lint& lint) {
    int length = lint.file().length;
    int reported_line = 0;
    // one report for a script saved in the wrong code page, its line ends included
    if (int at = Utf8_text_at(lint); at >= 0) return lint.Report(at, true, lint.file().shown + UTF8_TEXT);
    for (int pos = 0; pos < length;) pos += Check_character(lint, pos, &reported_line);
    int first = -1, count = 0;
    for (int pos = 0; pos < length; pos++) {
        if (Script_at(pos) != '\n' || (pos > 0 && Script_at(pos - 1) == '\r')) continue;
        if (first < 0) first = pos;
        count++;
    }
    if (count > 0)
        lint.Report(first, true,
                    "line ends with LF only (" + std::to_string(count) +
                        " in this file): comments and choice lines need CR LF");
}

void Check_braces(Lint& lint) {
    Script_file& f = lint.file();
    f.depth.assign((size_t)f.length + 1, 0);
    std::vector<int> open;
    for (int pos = 0; pos < f.length; pos++) {
        f.depth[(size_t)pos] = (int)open.size();
        if (!Guarded(pos)) continue;
        if (Script_at(pos) == '{') open.push_back(pos);
        if (Script_at(pos) != '}') continue;
        if (open.empty())
            lint.Report(pos, true, "'}' closes no block");
        else
            open.pop_back();
    }
    f.depth[(size_t)f.length] = (int)open.size();
    for (int pos : open) lint.Report(pos, true, "'{' is never closed");
}

void Check_labels(Lint& lint) {
    int length = lint.file().length;
    std::map<std::string, int> seen; // label text as the search compares it, and its line
    for (int pos = 0; pos < length;) {
        if (Script_at(pos) != '*') {
            pos++;
            continue;
        }
        int star = pos;
        while (pos < length && Script_at(pos) != ' ' && Script_at(pos) != '\t' && Script_at(pos) != '\r' &&
               Script_at(pos) != '\n')
            pos++;
        // the search takes the first 32 bytes and goes on after them
        std::string text((const char*)game.script_buf + star, (size_t)std::min(pos - star, 32));
        bool label = At_line_start(star);
        if (pos - star > 32) pos = star + 32;
        if (!label) continue;
        std::string shown = Shown(text);
        if (Ends_in_wide_colon(text)) lint.Report(star, true, "label " + shown + WIDE_COLON);
        if (pos - star == 32 && pos < length && Script_at(pos) != ' ' && Script_at(pos) != '\t' &&
            Script_at(pos) != '\r' && Script_at(pos) != '\n')
            lint.Report(star, false,
                        "label " + shown + "... is longer than 32 bytes: only its first 32 count");
        if (text.find(',') != std::string::npos)
            lint.Report(star, false, "label " + shown + " holds a comma: no jump target can match it");
        auto [at, fresh] = seen.emplace(text, lint.Line_of(star));
        if (!fresh)
            lint.Report(star, false,
                        "label " + shown + " is already at line " + std::to_string(at->second) +
                            ": jumps always go there");
    }
}
