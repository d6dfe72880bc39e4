// Loading scripts into the one buffer: the end marker, the leftovers and scripts too long for it (the
// start an author asks for, labels, jumps: golden/labels.golden; the flags: golden/flags.golden).
#include "game_folder.h"

using namespace std::string_literals;
using Loader = Script_test;

TEST_F(Loader, EndMarkerAndLeftoversOfAnEarlierScript) {
    unsigned char buf[300];
    std::memset(buf, 0x55, sizeof buf);
    const std::string hundred(100, 'h');
    // one after another: each file's bytes up to its first 0xFF, the 0xFF and a 0, then the old bytes
    const std::pair<std::string, std::string> loads[] = {
        {"", "\xFF\0\x55"s},
        {"ab\xFF"s + "cd", "ab\xFF\0\x55"s},
        {hundred, hundred + "\xFF\0\x55"s},
        {"ten\r\nbytes", "ten\r\nbytes\xFF\0"s + hundred.substr(12) + "\xFF\0\x55"s},
    };
    for (const auto& [file, buffer] : loads) {
        Write_script(file, "load.tda");
        EXPECT_EQ(Xalo_bload(".\\txt\\load.tda", buf), 1);
        EXPECT_EQ(std::string((char*)buf, buffer.size()), buffer);
    }
    // a file that cannot be opened: reported, the buffer and cur untouched
    game.cur = 7;
    EXPECT_EQ(Xalo_bload(".\\txt\\none.tda", buf), 0);
    EXPECT_EQ(Boxes(), Lines{"Xalo_bload()|Error:Open file [.\\txt\\none.tda]"});
    EXPECT_EQ(std::pair(std::string((char*)buf, 103), game.cur), std::pair(loads[3].second, 7));
}

TEST_F(Loader, ScriptsLongerThanTheBufferAreCut) {
    constexpr size_t room = SCRIPT_BUF_SIZE - 2; // 65,534 bytes of script, the 0xFF and the 0
    std::string fill = "#halt\r\n";
    for (size_t i = fill.size(); i < 70000; i++) fill += (char)('0' + i % 10);
    const std::pair<std::string, Lines> variants[] = {
        {fill.substr(0, room), {}},                         // fits exactly
        {fill.substr(0, room) + "\xFF" + "more bytes", {}}, // its marker ends it in time
        {fill,
         {"Xalo_bload()|スクリプトが長すぎるよ～ん。65534 バイトまでで切ったからね [.\\txt\\config.tda]"}},
    };
    for (const auto& [file, told] : variants) {
        SCOPED_TRACE(file.size());
        Restart();
        Write_script(file);
        EXPECT_EQ(Play(100), 0);
        EXPECT_EQ(std::string((char*)game.script_buf + room - 3, 5), fill.substr(room - 3, 3) + "\xFF\0"s);
        EXPECT_EQ(Boxes(), told);
        EXPECT_EQ(std::pair(game.halt_run, game.cur), std::pair(1, 6)); // the cut script still runs
    }
}
