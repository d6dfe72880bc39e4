// CP932 (Shift-JIS as the desktop writes it) to and from Unicode, through tables of our own that
// the build reads off the C library's converter: every platform reads and writes it alike.
#include "cp932.h"
#include "files/cp932_table.h"
#include "utf8.h"

#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace {

// The form of cp at out, which has room for 2 bytes: how many bytes it took, or -1 when CP932 has
// no form for cp.
int Put_form(char32_t cp, char* out) {
    char16_t code = cp <= CP932_LAST_CHAR ? CP932_PAGES[CP932_PAGE_OF[cp >> 8]][cp & 0xFF] : CP932_NONE;
    if (code == CP932_NONE) return -1;
    if (code == CP932_NOTHING) return 0;
    if (code <= 0xFF) {
        out[0] = (char)code;
        return 1;
    }
    out[0] = (char)(code >> 8);
    out[1] = (char)(code & 0xFF);
    return 2;
}

} // namespace

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
    char bytes[2];
    int n = Put_form(cp, bytes);
    if (n > 0) out.append(bytes, (size_t)n);
    return n >= 0;
}

size_t Cp932_next(const char* bytes, size_t length, size_t at, char32_t* cp) {
    auto b = (unsigned char)bytes[at];
    bool pair = Cp932_is_lead(b) && at + 1 < length && Cp932_is_trail((unsigned char)bytes[at + 1]);
    unsigned code = pair ? b << 8 | (unsigned char)bytes[at + 1] : b;
    if (!Cp932_decode(code, cp)) *cp = U'\uFFFD';
    return pair ? 2 : 1;
}

// Both conversions write into room for the longest result and then trim it: text goes a character
// at a time, and growing a string by each would cost more than the conversion.
std::string Cp932_to_utf8(const char* bytes, size_t length) {
    std::string out(length * 3, '\0'); // a byte or a pair is at most 3 bytes of UTF-8
    char* to = out.data();
    for (size_t at = 0; at < length;) {
        char32_t cp;
        at += Cp932_next(bytes, length, at, &cp);
        to += Utf8_put(cp, to);
    }
    out.resize((size_t)(to - out.data()));
    return out;
}

std::string Cp932_to_utf8(const char* text) { return Cp932_to_utf8(text, std::strlen(text)); }

std::string Utf8_to_cp932(const char* text) {
    std::string_view s(text);
    std::string out(s.size(), '\0'); // CP932 is never longer than the UTF-8 it comes from
    char* to = out.data();
    for (size_t at = 0; at < s.size();) {
        // a character, or a byte with the continuation bytes after it that make none: the latter,
        // or one CP932 lacks, becomes "?" and costs only itself
        char32_t cp = 0;
        size_t len = Utf8_next(s, at, &cp), n = len ? len : 1;
        while (at + n < s.size() && ((unsigned char)s[at + n] & 0xC0) == 0x80) n++;
        int written = n == len ? Put_form(cp, to) : -1;
        if (written < 0) *to = '?';
        to += written < 0 ? 1 : written;
        at += n;
    }
    out.resize((size_t)(to - out.data()));
    return out;
}

const char* Sjis(const char* utf8_literal) {
    static std::unordered_map<const char*, std::unique_ptr<std::string>> converted;
    auto& slot = converted[utf8_literal];
    if (!slot) slot = std::make_unique<std::string>(Utf8_to_cp932(utf8_literal));
    return slot->c_str();
}
