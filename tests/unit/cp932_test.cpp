// CP932, the code page of every script and file name of the game, to and from UTF-8.
#include "unit_support.h"

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
