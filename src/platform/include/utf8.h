// UTF-8 a character at a time: the strict reading CP932's converters share, and the writing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The length of the well-formed UTF-8 character at s[at] (no overlongs, surrogates or values past
// U+10FFFF), with its code point in *cp; 0 when it is malformed. Inline, as Utf8_put: text is read
// and written a character at a time.
inline size_t Utf8_next(std::string_view s, size_t at, char32_t* cp) {
    auto b = (unsigned char)s[at];
    // the length the first byte announces, and the least value that needs that length
    size_t len = b < 0x80 ? 1 : b < 0xC0 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : 0;
    static constexpr char32_t LEAST[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (len == 0 || at + len > s.size()) return 0;
    char32_t value = len == 1 ? b : b & (0x7F >> len);
    for (size_t i = 1; i < len; i++) {
        auto c = (unsigned char)s[at + i];
        if ((c & 0xC0) != 0x80) return 0;
        value = value << 6 | (c & 0x3F);
    }
    if (value < LEAST[len] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return len;
}

// Writes cp, a Unicode scalar value, as UTF-8 at out, which has room for 4 bytes; returns how many
// it took.
inline size_t Utf8_put(char32_t cp, char* out) {
    // the lead byte's marks for a character of n bytes
    static constexpr unsigned char LEAD[5] = {0, 0, 0xC0, 0xE0, 0xF0};
    size_t n = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    out[0] = (char)(LEAD[n] | cp >> 6 * (n - 1));
    for (size_t i = 1; i < n; i++) out[i] = (char)(0x80 | (cp >> 6 * (n - 1 - i) & 0x3F));
    return n;
}

inline void Utf8_append(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, Utf8_put(cp, bytes));
}
