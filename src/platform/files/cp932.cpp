// CP932 (Shift-JIS as the desktop writes it) to and from Unicode, through tables of our own that
// the build reads off the C library's converter: every platform reads and writes it alike.
#include "cp932.h"
#include "files/cp932_table.h"
#include "utf8.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

bool Cp932_is_lead(unsigned char b) { return Cp932_lead_byte(b); }

bool Cp932_is_trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool Cp932_decode(unsigned code, char32_t* cp) {
    char16_t c = CP932_NONE;
    unsigned lead = code >> 8, trail = code & 0xFF;
    if (code <= 0xFF)
        c = CP932_SINGLE[code];
    else if (code <= 0xFFFF && Cp932_lead_byte(lead) && trail >= CP932_FIRST_TRAIL &&
             trail <= CP932_LAST_TRAIL)
        c = CP932_DOUBLE[Cp932_lead_row(lead) * CP932_TRAILS + (trail - CP932_FIRST_TRAIL)];
    if (c == CP932_NONE) return false;
    *cp = c;
    return true;
}

bool Cp932_encode(char32_t cp, std::string& out) {
    const char32_t* end = CP932_FORM_CHARS + CP932_FORM_COUNT;
    const char32_t* found = std::lower_bound(CP932_FORM_CHARS, end, cp);
    if (found == end || *found != cp) return false;
    char16_t code = CP932_FORM_CODES[found - CP932_FORM_CHARS];
    if (code == CP932_NONE) return true;
    if (code > 0xFF) out += (char)(code >> 8);
    out += (char)(code & 0xFF);
    return true;
}

size_t Cp932_next(const char* bytes, size_t length, size_t at, char32_t* cp) {
    auto b = (unsigned char)bytes[at];
    bool pair = Cp932_is_lead(b) && at + 1 < length && Cp932_is_trail((unsigned char)bytes[at + 1]);
    unsigned code = pair ? b << 8 | (unsigned char)bytes[at + 1] : b;
    if (!Cp932_decode(code, cp)) *cp = U'\uFFFD';
    return pair ? 2 : 1;
}

std::string Cp932_to_utf8(const char* bytes, size_t length) {
    std::string out;
    for (size_t at = 0; at < length;) {
        char32_t cp;
        at += Cp932_next(bytes, length, at, &cp);
        Utf8_append(out, cp);
    }
    return out;
}

std::string Cp932_to_utf8(const char* text) { return Cp932_to_utf8(text, std::strlen(text)); }

std::string Utf8_to_cp932(const char* text) {
    std::string out;
    std::string_view s(text);
    for (size_t at = 0; at < s.size();) {
        // a lead byte and the continuation bytes after it: one character, or bytes that are none
        size_t n = 1;
        while (at + n < s.size() && ((unsigned char)s[at + n] & 0xC0) == 0x80) n++;
        // one that CP932 lacks becomes "?" and costs only itself
        char32_t cp;
        if (Utf8_next(s.substr(at, n), 0, &cp) != n || !Cp932_encode(cp, out)) out += '?';
        at += n;
    }
    return out;
}

const char* Sjis(const char* utf8_literal) {
    static std::unordered_map<const char*, std::unique_ptr<std::string>> converted;
    auto& slot = converted[utf8_literal];
    if (!slot) slot = std::make_unique<std::string>(Utf8_to_cp932(utf8_literal));
    return slot->c_str();
}
