// CP932, the code page of every script and file name of the game, to and from UTF-8.
#include "unit_support.h"

TEST(Cp932, DecodesOneAndTwoByteCharactersAndStrayLeadBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x8A\xBF\x8E\x9A", "漢字"},
        {"\xB1\xDF\xB1", "ｱﾟｱ"}, // half-width kana: single bytes from 0xA1 to 0xDF, never lead bytes
        {"Hello, 0~9 [x]", "Hello, 0~9 [x]"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\x95\x5C\x5C", "表\\"}, // 0x5C as a trail byte is part of its character, then a backslash
        // a lead byte that nothing can follow stands alone; the next byte is kept
        {"A\x82", "A\uFFFD"},
        {"\x82 A", "\uFFFD A"},
        {"\x82\x7F", "\uFFFD\x7F"},
    };
    for (const auto& [bytes, utf8] : cases) EXPECT_EQ(Cp932_to_utf8(bytes.data(), bytes.size()), utf8);
    // the length ends the text, not the byte after it
    EXPECT_EQ(Cp932_to_utf8("\x82\xA0", 1), "\uFFFD");
    EXPECT_EQ(Cp932_to_utf8("\x82\xA0", 0), "");
}

TEST(Cp932, EncodesUtf8AndRoundTrips) {
    // a character CP932 lacks becomes "?" and costs only itself
    const std::pair<const char*, std::string> cases[] = {
        {"～", "\x81\x60"}, {"♪", "\x81\xF4"}, {"表", "\x95\x5C"},  {"ｱ", "\xB1"},
        {"", ""},           {"a한b", "a?b"},   {"😀あ", "?\x82\xA0"}};
    for (const auto& [utf8, cp932] : cases) EXPECT_EQ(Utf8_to_cp932(utf8), cp932) << utf8;
    for (const char* text : {"既に起動していますよん♪", "～", "ｱﾟ表示 ABC"})
        EXPECT_EQ(Cp932_to_utf8(Utf8_to_cp932(text).c_str()), text);
    // a literal is converted once: the same text comes back at the same address
    const char* first = Sjis("ＭＳ 明朝");
    EXPECT_EQ(Sjis("ＭＳ 明朝"), first);
    EXPECT_EQ(Cp932_to_utf8(first), "ＭＳ 明朝");
}
