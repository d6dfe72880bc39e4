// The conversions, one character at a time so that every fault is named by its line and column.
#include "convert.h"
#include "desktop_files.h"

#include <iconv.h>

#include <cstdio>
#include <unordered_map>

namespace {

// Characters authors type that CP932 has only as a near twin. iconv alone maps some of them and
// not others, and maps U+00A5 and U+203E to ASCII \ and ~, which read back differently.
constexpr char32_t LOOKALIKES[][2] = {
    {U'\u301C', U'\uFF5E'}, // wave dash -> fullwidth tilde
    {U'\u2212', U'\uFF0D'}, // minus sign -> fullwidth hyphen-minus
    {U'\u00A2', U'\uFFE0'}, // cent sign
    {U'\u00A3', U'\uFFE1'}, // pound sign
    {U'\u00AC', U'\uFFE2'}, // not sign
    {U'\u00A6', U'\uFFE4'}, // broken bar
    {U'\u00A5', U'\uFFE5'}, // yen sign
    {U'\u203E', U'\uFFE3'}, // overline -> fullwidth macron
    {U'\u2016', U'\u2225'}, // double vertical line -> parallel to
    {U'\u2014', U'\u2015'}, // em dash -> horizontal bar
};

// One iconv descriptor for a whole conversion; CP932 keeps no shift state between characters.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (cd_ != (iconv_t)-1) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    // false when IN has no form in the target code page
    bool Run(std::string_view in, std::string& out) {
        out.clear();
        if (cd_ == (iconv_t)-1) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* src = const_cast<char*>(in.data());
        char* dst = buf;
        size_t src_left = in.size(), dst_left = sizeof buf;
        if (iconv(cd_, &src, &src_left, &dst, &dst_left) == (size_t)-1 || src_left != 0) return false;
        out.assign(buf, dst);
        return true;
    }

  private:
    iconv_t cd_;
};

// The length of the well-formed UTF-8 character at s[at] (no overlongs, surrogates or values past
// U+10FFFF), with its code point in *cp; 0 when it is malformed.
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

std::string Where(std::string_view name, int line, int column) {
    return std::string(name) + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
}

std::string Hex(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
}

// One character as iconv takes it from UTF-32LE.
std::string Utf32le(char32_t cp) {
    return {(char)(cp & 0xFF), (char)(cp >> 8 & 0xFF), (char)(cp >> 16 & 0xFF), 0};
}

// A line end at at (CR LF, LF or a lone CR): its length, or 0.
size_t Line_end(std::string_view s, size_t at) {
    if (s[at] != '\r' && s[at] != '\n') return 0;
    return s.substr(at, 2) == "\r\n" ? 2 : 1;
}

// True when the next fault is to be told; past ERRORS_TOLD it is only counted.
bool Tell(Convert_result* result) {
    if (result->errors.size() < ERRORS_TOLD) return true;
    result->errors_untold++;
    return false;
}

} // namespace

bool Is_utf8(std::string_view bytes) {
    char32_t cp = 0;
    for (size_t at = 0, len = 0; at < bytes.size(); at += len)
        if ((len = Utf8_next(bytes, at, &cp)) == 0) return false;
    return true;
}

char32_t Cp932_lookalike(char32_t cp) {
    for (const auto& pair : LOOKALIKES)
        if (pair[0] == cp) return pair[1];
    return cp;
}

Convert_result To_cp932(std::string_view utf8, std::string_view name) {
    Convert_result result;
    Iconv iconv("CP932", "UTF-32LE");
    std::unordered_map<char32_t, std::string> known; // an author's script repeats its characters
    std::string encoded;
    if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
    int line = 1, column = 1;
    for (size_t at = 0; at < utf8.size();) {
        if (size_t end = Line_end(utf8, at)) {
            at += end;
            result.output += "\r\n";
            line++;
            column = 1;
            continue;
        }
        char32_t cp;
        size_t len = Utf8_next(utf8, at, &cp);
        if (len == 0) {
            if (Tell(&result))
                result.errors.push_back(Where(name, line, column) + "invalid UTF-8 byte 0x" +
                                        Hex((unsigned char)utf8[at], 2));
            at++;
            column++;
            continue;
        }
        char32_t target = Cp932_lookalike(cp);
        auto found = known.find(target);
        if (found == known.end()) {
            if (!iconv.Run(Utf32le(target), encoded)) encoded.clear();
            found = known.emplace(target, encoded).first;
        }
        if (found->second.empty()) {
            if (Tell(&result))
                result.errors.push_back(Where(name, line, column) + "U+" + Hex(cp, 4) + " " +
                                        std::string(utf8.substr(at, len)) + " has no CP932 form");
        } else {
            result.output += found->second;
        }
        at += len;
        column++;
    }
    if (!result.errors.empty()) result.output.clear();
    return result;
}

std::string Cp932_only(std::string_view utf8) {
    Iconv to_cp932("CP932", "UTF-32LE"), to_utf8("UTF-8", "UTF-32LE");
    std::string kept, one;
    for (size_t at = 0; at < utf8.size();) {
        char32_t cp = 0;
        size_t len = Utf8_next(utf8, at, &cp);
        at += len ? len : 1;
        if (len == 0 || cp < 0x20 || cp == 0x7F) continue;
        std::string wide = Utf32le(Cp932_lookalike(cp));
        if (to_cp932.Run(wide, one) && to_utf8.Run(wide, one)) kept += one;
    }
    return kept;
}

Convert_result To_utf8(std::string_view cp932, std::string_view name) {
    Convert_result result;
    Iconv iconv("UTF-8", "CP932");
    std::string decoded;
    int line = 1, column = 1;
    for (size_t at = 0; at < cp932.size();) {
        if (size_t end = Line_end(cp932, at)) {
            at += end;
            result.output += '\n';
            line++;
            column = 1;
            continue;
        }
        auto b = (unsigned char)cp932[at];
        size_t len = Cp932_is_lead(b) && at + 1 < cp932.size() ? 2 : 1;
        if (iconv.Run(cp932.substr(at, len), decoded)) {
            result.output += decoded;
        } else {
            // a bad trail byte is left to be read again as a character of its own
            if (Tell(&result))
                result.errors.push_back(Where(name, line, column) + "byte 0x" + Hex(b, 2) + " is not CP932");
            len = 1;
        }
        at += len;
        column++;
    }
    if (!result.errors.empty()) result.output.clear();
    return result;
}
