// The scanning primitives: numbers, words, lines, and the skips with their two-byte guard (a skip off
// the buffer: golden/flags.golden).
#include "game_folder.h"

using Lexer = Script_test;

TEST_F(Lexer, ReadNumValuesStopsAndCloseRequests) {
    // the bytes, then the value, where the number ends, and the bytes reported as no digit
    const std::tuple<std::string, int, int, std::vector<size_t>> cases[] = {
        {"120 ", 120, 3, {}},     // the blank ends it
        {"-5\r\n", -5, 2, {}},    // so does the CR
        {"1-2 ", -102, 3, {}},    // the '-' counts as a digit 0
        {"1--2,", -1002, 4, {}},  // and it stays negative
        {"  42,7", 42, 4, {}},    // blanks before, the comma ends it
        {"\r\n  42 ", 42, 6, {}}, // a missing number reads the next line
        {"12x3 is not a decimal number, as you see\r\n", 1203, 4, {2}}, // shown with the 31 bytes after it
        {",5 ", 5, 2, {0}},         // a comma where the number should start
        {"5{\r\n", 50, 2, {1}},     // a brace stuck to the number
        {"\r\nab, ", 0, 4, {2, 3}}, // a line of text: each byte is reported
        {"4294967297 ", 1, 10, {}}, // too large: wraps without a report
    };
    for (const auto& [bytes, value, cur, bad] : cases) {
        SCOPED_TRACE(bytes);
        Load(bytes);
        Lines told = Boxes();
        for (size_t at : bad) // the 32 script bytes from the bad one on, up to a 0
            told.push_back("えらー|[" + Cp932_to_utf8((bytes + "\xFF").substr(at, 32).c_str()) +
                           "]：10進数ではありません");
        EXPECT_EQ((std::pair{Read_num(), game.cur}), std::pair(value, cur));
        EXPECT_EQ(Boxes(), told);
        int closes = 0; // every report asks the window to close
        for (Msg msg; PeekMessage(&msg, PM_REMOVE);)
            closes += msg.message == WM_CLOSE && msg.window == game.main_window;
        EXPECT_EQ(closes, (int)bad.size());
    }
    // a character that the 32 bytes would cut in two is left out whole
    Load("5x " + std::string(29, 'a') + Cp("室") + "\r\n");
    Read_num();
    EXPECT_EQ(Boxes().back(), "えらー|[x " + std::string(29, 'a') + "]：10進数ではありません");
}

TEST_F(Lexer, WordsAndLinesStopAndAreCutSkipsCountBracesButNotSecondBytes) {
    const std::string run(300, 'w');
    const std::tuple<const char* (*)(), std::string, std::string, int> cases[] = {
        {Read_word, "BG,bg.bgh", "BG", 2},
        {Read_word, " \tname\tx", "name", 6},
        {Read_word, "\r\nword", "", 0},
        {Read_word, run + " ", run.substr(0, 254), 254}, // 254 bytes at most, cur on the 255th
        {Read_line, run + "\r\n", run.substr(0, 254), 254},
        {Read_line, "  " + Cp("選択") + "\r\nnext", Cp("選択"), 6},
        // blanks and commas belong to a line; a CR without LF is copied; a lone LF ends it too
        {Read_line, "a, b\rc\nd\r\n", "a, b\rc", 6},
    };
    for (const auto& [read, bytes, text, cur] : cases) {
        Load(bytes);
        EXPECT_EQ((std::pair{std::string(read()), game.cur}), std::pair(text, cur)) << bytes;
    }

    // ボ and マ end in the bytes of '{' and '}'; a '/' right after a character is no syntax either
    const std::tuple<int (*)(), std::string, std::string> skips[] = {
        {Skip_branch, "a{b/c}d/e", "e"}, // the first '/' is at depth 1
        {Skip_branch, Cp("あ") + "/x/y", "y"},
        {Skip_branch, Cp("マ") + "{" + Cp("ボ") + "/}/Z", "Z"},
        {Skip_branch, "}/{/Q", "Q"},        // a depth below 0 must come back to 0
        {Skip_block, "/X{Y}Z}\r\nN", "\n"}, // the byte after the '}' is passed over too
        {Skip_block, "/" + Cp("ボ") + "1" + Cp("マ") + "2}\r\nN", "\n"},
    };
    for (const auto& [skip, bytes, resume] : skips) {
        Load(bytes);
        skip();
        EXPECT_EQ(game.cur, Pos(bytes, resume)) << bytes;
    }
    EXPECT_EQ(Boxes(), Lines{});
}
