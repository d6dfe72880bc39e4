// CP932, the code page of every script and file name of the game, to and from UTF-8.
#include "cp932.h"
#include "unit_support.h"
#include "utf8.h"

#include <iconv.h>

#include <optional>

TEST(Cp932, DecodesEncodesAndRoundTripsAsTheTableSays) {
    for (const Row& c : Table("unit/cp932.txt")) {
        const std::string& in = c[1];
        std::string got = c[0] == "decode"   ? Cp932_to_utf8(in.data(), c.size() > 3 ? c.Int(3) : in.size())
                            : c[0] == "encode" ? Utf8_to_cp932(in.c_str())
                                             : Cp932_to_utf8(Utf8_to_cp932(in.c_str()).c_str());
        EXPECT_EQ(got, c[0] == "both" ? in : c[2]) << c.where;
    }
    // a literal is converted once: the same text comes back at the same address
    const char* first = Sjis("ＭＳ 明朝");
    EXPECT_EQ(Sjis("ＭＳ 明朝"), first);
    EXPECT_EQ(Cp932_to_utf8(first), "ＭＳ 明朝");
}

namespace {

// The C library's converter, from and to the code pages named: all of in, or nothing.
struct Iconv {
    iconv_t cd;
    Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(cd); }
    std::optional<std::string> operator()(const std::string& in) const {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char buf[64], *src = const_cast<char*>(in.data()), *dst = buf;
        size_t src_left = in.size(), dst_left = sizeof buf;
        if (iconv(cd, &src, &src_left, &dst, &dst_left) == (size_t)-1 || src_left) return std::nullopt;
        return std::string(buf, dst);
    }
};

// UTF-8 to CP932 as the C library writes it: the whole text, or else each lead byte with the
// continuation bytes after it, "?" where that is no character CP932 has.
std::string Iconv_to_cp932(const Iconv& to_cp932, const std::string& utf8) {
    if (auto whole = to_cp932(utf8)) return *whole;
    std::string out;
    for (size_t at = 0, n; at < utf8.size(); at += n) {
        for (n = 1; at + n < utf8.size() && ((unsigned char)utf8[at + n] & 0xC0) == 0x80;) n++;
        out += to_cp932(utf8.substr(at, n)).value_or("?");
    }
    return out;
}

// The number bytes hold, first byte highest: a CP932 code, lead and trail.
unsigned Code_of(const std::string& bytes) {
    unsigned code = 0;
    for (unsigned char b : bytes) code = code << 8 | b;
    return code;
}

// One character in UTF-32LE; none for no text or more than one character.
std::optional<char32_t> Utf32le_char(const std::optional<std::string>& utf32) {
    if (!utf32 || utf32->size() != 4) return std::nullopt;
    return Code_of({(*utf32)[3], (*utf32)[2], (*utf32)[1], (*utf32)[0]});
}

std::string Hex(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, value);
    return buf;
}

} // namespace

// The tables are read off the C library's converter at build time; here they are held to it again,
// code by code and character by character.
TEST(Cp932, ReadsAndWritesEverythingAsTheCLibraryDoes) {
    const Iconv to_utf8("UTF-8", "CP932"), to_utf32("UTF-32LE", "CP932"), to_cp932("CP932", "UTF-8");
    ASSERT_NE(to_utf8.cd, (iconv_t)-1);
    std::vector<std::string> wrong; // the first few texts that come out otherwise
    auto check = [&](bool ok, const char* what, const std::string& text) {
        std::string line = what;
        for (unsigned char b : text) line += " " + Hex(b, 2);
        if (!ok && wrong.size() < 10) wrong.push_back(line);
    };
    // every byte and every pair: what the library reads whole reads the same, anything else shows
    // U+FFFD; a code is one character exactly where the library reads one
    std::vector<std::string> codes;
    for (int a = 0; a < 256; a++) {
        codes.push_back(std::string(1, (char)a));
        for (int b = 0; b < 256; b++) codes.push_back({(char)a, (char)b});
    }
    for (const std::string& bytes : codes) {
        std::string got = Cp932_to_utf8(bytes.data(), bytes.size());
        auto want = to_utf8(bytes);
        check(want ? got == *want : got.find("\xEF\xBF\xBD") != std::string::npos, "read", bytes);
        if (bytes.size() == 2 && bytes[0] == 0) continue; // no code: the single byte b
        char32_t cp = 0;
        bool decodes = Cp932_decode(Code_of(bytes), &cp);
        check((decodes ? std::optional(cp) : std::nullopt) == Utf32le_char(to_utf32(bytes)), "code", bytes);
    }
    // every character as UTF-8: the bytes the library writes, or "?"
    for (char32_t cp = 1; cp <= 0x10FFFF; cp++) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string utf8;
        Utf8_append(utf8, cp);
        check(Utf8_to_cp932(utf8.c_str()) == Iconv_to_cp932(to_cp932, utf8), "write", utf8);
    }
    // malformed UTF-8: every two-byte text, and three- to five-byte forms around the rules
    // (overlong, surrogates, past U+10FFFF, cut short, a stray byte after)
    std::string tails = "\x01\x41\x7F\xC0\xE3\xF0\xFF";
    for (int b = 0x80; b < 0xC0; b++) tails += (char)b;
    std::vector<std::string> texts;
    for (int a = 1; a < 256; a++)
        for (int b = 1; b < 256; b++) texts.push_back({(char)a, (char)b});
    for (int lead = 0xE0; lead < 0xF8; lead++)
        for (char b : tails)
            for (char c : tails)
                for (const char* after : {"", "\x80", "\xBF\x80"})
                    texts.push_back(std::string{(char)lead, b, c} + after);
    for (const std::string& text : texts)
        check(Utf8_to_cp932(text.c_str()) == Iconv_to_cp932(to_cp932, text), "write", text);
    EXPECT_EQ(wrong, std::vector<std::string>{});
}
