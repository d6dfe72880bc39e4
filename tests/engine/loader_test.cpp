// Loading scripts into the one buffer: the end marker, what a shorter script leaves behind, and
// scripts too long for the buffer.
#include "script_fixture.h"

namespace {

using Loader = Script_test;

} // namespace

TEST_F(Loader, EndMarkerAndLeftoversOfAnEarlierScript) {
    Load("");
    unsigned char* buf = game.script_buf;
    std::memset(buf, 0x55, 300);
    Write_script("", "empty.tda");
    EXPECT_EQ(Xalo_bload(".\\txt\\empty.tda", buf), 1);
    EXPECT_EQ(buf[0], 0xFF);
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(buf[2], 0x55);

    Write_script(std::string("ab\xFF") + "cd", "middle.tda");
    EXPECT_EQ(Xalo_bload(".\\txt\\middle.tda", buf), 1);
    EXPECT_EQ(std::string((char*)buf, 5), std::string("ab\xFF\0\x55", 5));

    std::string hundred;
    for (int i = 0; i < 100; i++)
        hundred += (char)('A' + i % 26);
    Write_script(hundred, "hundred.tda");
    Write_script("ten\r\nbytes", "ten.tda");
    EXPECT_EQ(Xalo_bload(".\\txt\\hundred.tda", buf), 1);
    EXPECT_EQ(Xalo_bload(".\\txt\\ten.tda", buf), 1);
    EXPECT_EQ(std::string((char*)buf, 12), std::string("ten\r\nbytes\xFF\0", 12));
    EXPECT_EQ(std::string((char*)buf + 12, 88), hundred.substr(12));
    EXPECT_EQ(buf[100], 0xFF);
    EXPECT_EQ(buf[101], 0);
    EXPECT_TRUE(headless->boxes().empty());

    // a file that cannot be opened: reported, the buffer and cur untouched
    game.cur = 7;
    EXPECT_EQ(Xalo_bload(".\\txt\\none.tda", buf), 0);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Xalo_bload()|Error:Open file [.\\txt\\none.tda]"});
    EXPECT_EQ(std::string((char*)buf, 12), std::string("ten\r\nbytes\xFF\0", 12));
    EXPECT_EQ(game.cur, 7);
}

TEST_F(Loader, ScriptsLongerThanTheBufferAreCut) {
    constexpr size_t room = SCRIPT_BUF_SIZE - 2; // 65,534 bytes of script, the 0xFF and the 0
    std::string fill = "#halt\r\n";
    for (size_t i = fill.size(); i < 70000; i++)
        fill += (char)('0' + i % 10);

    struct Variant {
        std::string file;
        bool told;
    };
    const Variant variants[] = {
        {fill.substr(0, room), false},                         // fits exactly
        {fill.substr(0, room) + "\xFF" + "more bytes", false}, // its marker ends it in time
        {fill, true},                                          // 70,000 bytes
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.file.size());
        Restart();
        Write_script(v.file);
        EXPECT_EQ(Play(100), 0);
        EXPECT_EQ(game.script_buf[room - 1], (unsigned char)fill[room - 1]);
        EXPECT_EQ(game.script_buf[room], 0xFF);
        EXPECT_EQ(game.script_buf[room + 1], 0);
        ASSERT_EQ(headless->boxes().size(), v.told ? 1u : 0u);
        if (v.told) {
            EXPECT_EQ(headless->boxes()[0].caption, "Xalo_bload()");
            EXPECT_NE(headless->boxes()[0].text.find("config.tda"), std::string::npos);
        }
        EXPECT_EQ(game.halt_run, 1); // the cut script still runs
        EXPECT_EQ(game.cur, 6);
    }
}
