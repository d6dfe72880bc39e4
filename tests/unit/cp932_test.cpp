// CP932, the code page of every script and file name of the game, to and from UTF-8.
#include "platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Decode(const std::string& bytes) {
    return Cp932_to_utf8(bytes.data(), bytes.size());
}

} // namespace

TEST(Cp932, DecodesOneAndTwoByteCharacters) {
    EXPECT_EQ(Decode("\x8A\xBF\x8E\x9A"), "漢字");
    // half-width kana are single bytes from 0xA1 to 0xDF, never lead bytes
    EXPECT_EQ(Decode("\xB1"), "ｱ");
    EXPECT_EQ(Decode("\xDF"), "ﾟ");
    EXPECT_EQ(Decode("\xB1\xDF\xB1"), "ｱﾟｱ");
    EXPECT_EQ(Decode("Hello, 0~9 [x]"), "Hello, 0~9 [x]");
    // 0x5C as a trail byte belongs to its character; after one, it is a backslash again
    EXPECT_EQ(Decode("\x95\x5C"), "表");
    EXPECT_EQ(Decode("\x95\x5C\x5C"), "表\\");
    EXPECT_EQ(Decode(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Cp932_to_utf8("\x82\xA0\x82\xA2"), "あい");
}

TEST(Cp932, DecodesStrayLeadBytesAsReplacement) {
    EXPECT_EQ(Decode("A\x82"), "A\uFFFD");
    EXPECT_EQ(Decode("\x82"), "\uFFFD");
    // a lead byte whose next byte cannot follow it stands alone; the next byte is kept
    EXPECT_EQ(Decode("\x82\x20"
                     "A"),
              "\uFFFD A");
    EXPECT_EQ(Decode("\x82\x7F"), "\uFFFD\x7F");
    // the length ends the text, not the byte after it
    EXPECT_EQ(Cp932_to_utf8("\x82\xA0", 1), "\uFFFD");
    EXPECT_EQ(Cp932_to_utf8("\x82\xA0", 0), "");
}

TEST(Cp932, EncodesUtf8AndRoundTrips) {
    for (const char* text : {"既に起動していますよん♪", "～", "ｱﾟ表示 ABC"}) {
        SCOPED_TRACE(text);
        std::string cp932 = Utf8_to_cp932(text);
        EXPECT_EQ(Cp932_to_utf8(cp932.c_str()), text);
    }
    EXPECT_EQ(Utf8_to_cp932("既に起動していますよん♪").size(), 24u);
    EXPECT_EQ(Utf8_to_cp932("～"), "\x81\x60");
    EXPECT_EQ(Utf8_to_cp932("♪"), "\x81\xF4");
    EXPECT_EQ(Utf8_to_cp932("表"), "\x95\x5C");
    EXPECT_EQ(Utf8_to_cp932("ｱ"), "\xB1");

    // characters CP932 lacks cost only themselves
    EXPECT_EQ(Utf8_to_cp932("a한b"), "a?b");
    EXPECT_EQ(Utf8_to_cp932("😀あ"), "?\x82\xA0");
    EXPECT_EQ(Utf8_to_cp932(""), "");

    // a literal is converted once: the same text comes back at the same address
    const char* first = Sjis("ＭＳ 明朝");
    EXPECT_EQ(Sjis("ＭＳ 明朝"), first);
    EXPECT_EQ(std::string(first), Utf8_to_cp932("ＭＳ 明朝"));
    EXPECT_EQ(Cp932_to_utf8(first), "ＭＳ 明朝");
}
