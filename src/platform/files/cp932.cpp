// CP932 (Shift-JIS as the desktop writes it) to and from Unicode, through iconv.
#include "cp932.h"

#include <iconv.h>

#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// One conversion with iconv; false when the input is not valid in the source code page.
bool Convert(const char* to, const char* from, const char* in, size_t in_len, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return false;
    out.assign(in_len * 4 + 8, '\0');
    char* src = const_cast<char*>(in);
    char* dst = out.data();
    size_t src_left = in_len, dst_left = out.size();
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    iconv_close(cd);
    out.resize(out.size() - dst_left);
    return r != (size_t)-1;
}

// A table of every CP932 code already asked for: -1 not yet known, else the code point.
std::vector<int32_t>& Known_codes() {
    static std::vector<int32_t> table(65536, -1);
    return table;
}

char32_t Decode_code(unsigned code) {
    int32_t& known = Known_codes()[code];
    if (known >= 0) return (char32_t)known;
    char in[2];
    size_t len = 0;
    if (code > 0xFF) in[len++] = (char)(code >> 8);
    in[len++] = (char)(code & 0xFF);
    std::string out;
    char32_t cp = U'\uFFFD';
    if (Convert("UTF-32LE", "CP932", in, len, out) && out.size() == 4) {
        cp = (unsigned char)out[0] | (unsigned char)out[1] << 8 | (unsigned char)out[2] << 16 |
             (char32_t)(unsigned char)out[3] << 24;
    }
    known = (int32_t)cp;
    return cp;
}

void Append_utf8(std::string& out, char32_t cp) {
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

} // namespace

bool Cp932_is_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool Cp932_is_trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

size_t Cp932_next(const char* bytes, size_t length, size_t at, char32_t* cp) {
    auto b = (unsigned char)bytes[at];
    if (Cp932_is_lead(b) && at + 1 < length && Cp932_is_trail((unsigned char)bytes[at + 1])) {
        *cp = Decode_code((unsigned)b << 8 | (unsigned char)bytes[at + 1]);
        return 2;
    }
    *cp = b < 0x80 ? (char32_t)b : Decode_code(b);
    if (Cp932_is_lead(b)) *cp = U'\uFFFD';
    return 1;
}

std::string Cp932_to_utf8(const char* bytes, size_t length) {
    std::string out;
    for (size_t at = 0; at < length;) {
        char32_t cp;
        at += Cp932_next(bytes, length, at, &cp);
        Append_utf8(out, cp);
    }
    return out;
}

std::string Cp932_to_utf8(const char* text) { return Cp932_to_utf8(text, std::strlen(text)); }

std::string Utf8_to_cp932(const char* text) {
    std::string out;
    if (Convert("CP932", "UTF-8", text, std::strlen(text), out)) return out;
    // convert character by character, so that one that CP932 lacks costs only itself
    out.clear();
    for (size_t at = 0, len = std::strlen(text); at < len;) {
        size_t n = 1;
        while (at + n < len && ((unsigned char)text[at + n] & 0xC0) == 0x80) n++;
        std::string one;
        out += Convert("CP932", "UTF-8", text + at, n, one) ? one : "?";
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
