// The conversions, one character at a time so that every fault is named by its line and column.
#include "convert.h"
#include "cp932.h"
#include "utf8.h"

#include <cstdio>

namespace {

// Characters authors type that CP932 has only as a near twin. CP932's own encoder writes some of
// them and not others, and writes U+00A5 and U+203E as ASCII \ and ~, which read back differently.
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

std::string Where(std::string_view name, int line, int column) {
    return std::string(name) + ":" + std::to_string(line) + ":" + std::to_string(column) + ": ";
}

std::string Hex(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
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
        // a character written as nothing would vanish from the script unseen: it is a fault too
        size_t before = result.output.size();
        if (!Cp932_encode(Cp932_lookalike(cp), result.output) || result.output.size() == before) {
            if (Tell(&result))
                result.errors.push_back(Where(name, line, column) + "U+" + Hex(cp, 4) + " " +
                                        std::string(utf8.substr(at, len)) + " has no CP932 form");
        }
        at += len;
        column++;
    }
    if (!result.errors.empty()) result.output.clear();
    return result;
}

std::string Cp932_only(std::string_view utf8) {
    std::string kept;
    for (size_t at = 0; at < utf8.size();) {
        char32_t cp = 0;
        size_t len = Utf8_next(utf8, at, &cp);
        at += len ? len : 1;
        if (len == 0 || cp < 0x20 || cp == 0x7F) continue;
        char32_t target = Cp932_lookalike(cp);
        std::string bytes;
        if (Cp932_encode(target, bytes)) Utf8_append(kept, target);
    }
    return kept;
}

Convert_result To_utf8(std::string_view cp932, std::string_view name) {
    Convert_result result;
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
        char32_t cp;
        if (Cp932_decode(len == 2 ? b << 8 | (unsigned char)cp932[at + 1] : b, &cp)) {
            Utf8_append(result.output, cp);
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
