// The story face: it covers kana and kanji, and its half-width Latin letters are all one width, as
// the fixed half-width cells the text is laid in expect.
#include "unit_support.h"

TEST(Story_face, LatinLettersAndDigitsAreAllOneWidth) {
    Font* font = CreateFont(20, FW_SEMIBOLD, Sjis("ＭＳ 明朝"), SHIFTJIS_CHARSET);
    ASSERT_NE(font, nullptr);
    std::string widths;
    for (char c : std::string("iIlW m.0!ASCIbyte"))
        widths += std::to_string(GetTextExtent(font, &c, 1)) + " ";
    EXPECT_EQ(widths, "10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 10 ");
    DeleteObject(font);
}
