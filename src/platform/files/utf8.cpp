// UTF-8 read strictly and written, one character at a time.
#include "utf8.h"

size_t Utf8_next(std::string_view s, size_t at, char32_t* cp) {
    auto b = (unsigned char)s[at];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    // the lead byte's length, its bits of the value, and the least value that needs that length
    const struct {
        unsigned char mask, lead;
        size_t len;
        char32_t min;
    } forms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    size_t len = 0;
    char32_t value = 0, min = 0;
    for (const auto& f : forms) {
        if ((b & f.mask) != f.lead) continue;
        len = f.len;
        value = b & (unsigned char)~f.mask;
        min = f.min;
    }
    if (len == 0) return 0;
    if (at + len > s.size()) return 0;
    for (size_t i = 1; i < len; i++) {
        auto c = (unsigned char)s[at + i];
        if ((c & 0xC0) != 0x80) return 0;
        value = value << 6 | (c & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return len;
}

void Utf8_append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += (char)cp;
    } else if (cp < 0x800) {
        out += (char)(0xC0 | cp >> 6);
        out += (char)(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += (char)(0xE0 | cp >> 12);
        out += (char)(0x80 | (cp >> 6 & 0x3F));
        out += (char)(0x80 | (cp & 0x3F));
    } else {
        out += (char)(0xF0 | cp >> 18);
        out += (char)(0x80 | (cp >> 12 & 0x3F));
        out += (char)(0x80 | (cp >> 6 & 0x3F));
        out += (char)(0x80 | (cp & 0x3F));
    }
}
