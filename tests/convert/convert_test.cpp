// The script converter: every CP932 character both ways, the look-alikes, line ends, and the faults
// named by line and column.
#include "../unit/unit_support.h"
#include "convert.h"

#include "utf8.h"

#include <iconv.h>

#include <map>
#include <optional>
#include <string>

namespace {

// iconv's own reading of one CP932 code, to enumerate the code page independently of the converter
bool Iconv_decodes(std::string cp932) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    char buf[16], *src = cp932.data(), *dst = buf;
    size_t src_left = cp932.size(), dst_left = sizeof buf;
    bool whole = iconv(cd, &src, &src_left, &dst, &dst_left) != (size_t)-1 && src_left == 0;
    iconv_close(cd);
    return whole;
}

// The library's descriptors, one a direction, closed when the run ends, as LeakSanitizer asks.
struct Descriptors {
    std::map<std::pair<std::string, std::string>, iconv_t> open;
    ~Descriptors() {
        for (const auto& [direction, cd] : open)
            if (cd && cd != (iconv_t)-1) iconv_close(cd);
    }
};

// The library's conversion of all of in, or nothing.
std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
    static Descriptors descriptors;
    iconv_t& cd = descriptors.open[{to, from}];
    if (!cd) cd = iconv_open(to, from);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[64], *src = const_cast<char*>(in.data()), *dst = buf;
    size_t src_left = in.size(), dst_left = sizeof buf;
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == (size_t)-1 || src_left) return std::nullopt;
    return std::string(buf, dst);
}

} // namespace

// Held to the C library's converter, character by character: every byte and pair read as it reads
// them (faults where it refuses them), every character written as it writes it (a fault where it
// writes no bytes), and Cp932_only keeping what it can write.
TEST(Convert, AgreesWithTheCLibraryOnEveryCodeAndCharacter) {
    std::vector<std::string> wrong; // the first few that come out otherwise
    auto check = [&](bool ok, const char* what, unsigned value) {
        if (!ok && wrong.size() < 10) wrong.push_back(what + std::to_string(value));
    };
    for (unsigned code = 0; code < 0x10100; code++) {
        std::string bytes =
            code < 0x100 ? std::string(1, (char)code) : std::string{(char)((code - 0x100) >> 8), (char)code};
        if (bytes.find_first_of("\r\n") != std::string::npos) continue; // line ends: the table below
        Convert_result r = To_utf8(bytes, "t");
        auto want = Iconv("UTF-8", "CP932", bytes);
        check(want ? r.output == *want && r.errors.empty() : !r.errors.empty(), "read ", code);
    }
    for (char32_t cp = 0; cp <= 0x10FFFF; cp++) {
        // not line ends, nor U+FEFF, which at the start is a byte-order mark and dropped
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == '\r' || cp == '\n' || cp == 0xFEFF) continue;
        std::string utf8, twin;
        Utf8_append(utf8, cp);
        Utf8_append(twin, Cp932_lookalike(cp));
        auto want = Iconv("CP932", "UTF-8", twin);
        Convert_result r = To_cp932(utf8, "t");
        check(want && !want->empty() ? r.output == *want && r.errors.empty() : !r.errors.empty(), "write ",
              cp);
        if (cp >= 0x20 && cp != 0x7F) check(Cp932_only(utf8) == (want ? twin : ""), "keep ", cp);
    }
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

TEST(Convert, EveryCp932CharacterRoundTrips) {
    int checked = 0, duplicates = 0;
    for (unsigned code = 0; code < 0x10000; code++) {
        if (code == '\r' || code == '\n') continue; // line ends are rewritten, tested below
        if (code > 0xFF && ((code >> 8) < 0x81 || ((code >> 8) > 0x9F && (code >> 8) < 0xE0))) continue;
        std::string bytes =
            code > 0xFF ? std::string{(char)(code >> 8), (char)code} : std::string(1, (char)code);
        if (!Iconv_decodes(bytes)) continue;
        Convert_result utf8 = To_utf8(bytes, "t");
        ASSERT_TRUE(utf8.errors.empty()) << std::hex << code;
        Convert_result back = To_cp932(utf8.output, "t");
        ASSERT_TRUE(back.errors.empty()) << std::hex << code << ": " << back.errors[0];
        checked++;
        if (back.output == bytes) continue;
        // CP932 gives some characters two codes (NEC and IBM rows); the second reads back as the first
        unsigned lead = code >> 8;
        EXPECT_TRUE(lead == 0x87 || lead == 0xED || lead == 0xEE || lead == 0xFA || lead == 0xFB ||
                    lead == 0xFC)
            << std::hex << code;
        EXPECT_EQ(To_utf8(back.output, "t").output, utf8.output) << std::hex << code;
        duplicates++;
    }
    // JIS X 0208, the NEC and IBM rows, the user-defined area and the single bytes
    EXPECT_GT(checked, 9000);
    EXPECT_LT(duplicates, 500);
}

TEST(Convert, BothWaysAsTheTableSays) {
    for (const Row& c : Table("convert/cases.txt")) {
        Convert_result r = c[0] == "utf8" ? To_utf8(c[1], "t") : To_cp932(c[1], "t");
        if (c[0] == "twin") r = To_utf8(r.output, "t");
        if (c[0] == "only") r = {Cp932_only(c[1]), {}, 0};
        EXPECT_EQ(r.output, c[2]) << c.where;
        EXPECT_EQ(r.errors, std::vector<std::string>(c.begin() + 3, c.end())) << c.where;
    }
}

TEST(Convert, FaultsPastTheFirstHundredAreOnlyCounted) {
    const std::string bad(250, '\xFF');
    Convert_result to_cp932 = To_cp932(bad, "t"), to_utf8 = To_utf8(bad, "t");
    EXPECT_EQ(to_cp932.errors.back(), "t:1:100: invalid UTF-8 byte 0xFF");
    EXPECT_EQ(to_utf8.errors.back(), "t:1:100: byte 0xFF is not CP932");
    for (const Convert_result* r : {&to_cp932, &to_utf8}) {
        EXPECT_EQ(r->errors.size(), ERRORS_TOLD);
        EXPECT_EQ(r->errors_untold, 150u);
        EXPECT_TRUE(r->output.empty());
    }
    Convert_result r = To_cp932(std::string(99, '\xFF') + "😀😀", "t");
    EXPECT_EQ(r.errors.back(), "t:1:100: U+1F600 😀 has no CP932 form");
    EXPECT_EQ(r.errors_untold, 1u);
}
