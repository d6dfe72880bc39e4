// The script converter: every CP932 character both ways, the look-alikes, line ends, and the faults
// named by line and column.
#include "convert.h"

#include <gtest/gtest.h>

#include <iconv.h>

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

} // namespace

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

TEST(Convert, LookalikesBecomeTheirCp932Twins) {
    const std::pair<const char*, const char*> CASES[] = {
        {"\u301C", "\uFF5E"}, {"\u2212", "\uFF0D"}, {"\u00A2", "\uFFE0"}, {"\u00A3", "\uFFE1"},
        {"\u00AC", "\uFFE2"}, {"\u2016", "\u2225"}, {"\u2014", "\u2015"}, {"\u00A6", "\uFFE4"},
        {"\u00A5", "\uFFE5"}, {"\u203E", "\uFFE3"},
    };
    for (const auto& [from, to] : CASES) {
        Convert_result cp932 = To_cp932(from, "t");
        ASSERT_TRUE(cp932.errors.empty()) << from;
        EXPECT_EQ(To_utf8(cp932.output, "t").output, to) << from;
    }
}

TEST(Convert, EveryFaultIsReportedWithLineAndColumnAndNothingIsWritten) {
    Convert_result r = To_cp932("\xFF"
                                "a\r\nb\u00E9\U0001F600\nあい😀う\n",
                                "txt/a.utf8.txt");
    EXPECT_EQ(r.errors, (std::vector<std::string>{"txt/a.utf8.txt:1:1: invalid UTF-8 byte 0xFF",
                                                  "txt/a.utf8.txt:2:2: U+00E9 é has no CP932 form",
                                                  "txt/a.utf8.txt:2:3: U+1F600 😀 has no CP932 form",
                                                  "txt/a.utf8.txt:3:3: U+1F600 😀 has no CP932 form"}));
    EXPECT_TRUE(r.output.empty());
}

TEST(Convert, MalformedUtf8IsRefused) {
    for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE3\x81", "\xF4\x90\x80\x80", "\x80"}) {
        Convert_result r = To_cp932(bad, "f");
        ASSERT_FALSE(r.errors.empty()) << bad;
        EXPECT_EQ(r.errors[0].rfind("f:1:1: invalid UTF-8 byte 0x", 0), 0u) << r.errors[0];
    }
}

TEST(Convert, AnyLineEndBecomesCrLfAndCrLfAndLfBecomeLf) {
    EXPECT_EQ(To_cp932("a\nb\n", "t").output, "a\r\nb\r\n");
    EXPECT_EQ(To_cp932("a\r\nb\r\n", "t").output, "a\r\nb\r\n");
    EXPECT_EQ(To_cp932("a\rb\r\r\n", "t").output, "a\r\nb\r\n\r\n");
    EXPECT_EQ(To_utf8("\x82\xA0\r\n\x82\xA2\r\n", "t").output, "あ\nい\n");
    EXPECT_EQ(To_utf8("\x82\xA0\n\x82\xA2", "t").output, "あ\nい");
}

TEST(Convert, LeadingBomIsDropped) {
    EXPECT_EQ(To_cp932("\xEF\xBB\xBF#wait\n", "t").output, "#wait\r\n");
    Convert_result r = To_cp932("\xEF\xBB\xBF😀", "t");
    EXPECT_EQ(r.errors,
              std::vector<std::string>{"t:1:1: U+1F600 😀 has no CP932 form"}); // the BOM takes no column
    // anywhere else it is a character CP932 lacks
    EXPECT_FALSE(To_cp932("a\xEF\xBB\xBF", "t").errors.empty());
}

TEST(Convert, BytesThatAreNotCp932AreNamed) {
    Convert_result r = To_utf8("ok\r\n\x82\xA0\xFF\x82\x20", "t");
    EXPECT_EQ(r.errors,
              (std::vector<std::string>{"t:2:2: byte 0xFF is not CP932", "t:2:3: byte 0x82 is not CP932"}));
    EXPECT_TRUE(r.output.empty());
    // a lead byte cut off by the line end
    EXPECT_EQ(To_utf8("\x82\r\n", "t").errors.at(0), "t:1:1: byte 0x82 is not CP932");
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

TEST(Convert, Cp932OnlyKeepsWhatCp932CanHold) {
    EXPECT_EQ(Cp932_only("café 星〜¥"), "caf 星～￥");
    EXPECT_EQ(Cp932_only("a\xFF\xE3\x81"
                         "b\n\t😀\x7F"),
              "ab");
    EXPECT_EQ(Cp932_only("😀"), "");
}
