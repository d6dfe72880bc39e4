// The scanning primitives on script bytes: numbers, words, lines, and the skips over branches
// and blocks with their guard against the second byte of a two-byte character.
#include "script_fixture.h"

namespace {

using Lexer = Script_test;

// The report of a byte that is no digit: the 32 script bytes from it on, up to a 0.
std::string Not_decimal(const std::string& script, size_t at) {
    std::string shown = (script + "\xFF").substr(at, 32);
    return "えらー|[" + Cp932_to_utf8(shown.c_str()) + "]：10進数ではありません";
}

} // namespace

TEST_F(Lexer, ReadNumValuesStopsAndCloseRequests) {
    Load("");
    struct Case {
        std::string bytes;
        int value;
        int cur;                 // where the number ends
        std::vector<size_t> bad; // the bytes reported as no digit
    };
    const std::string x_text = "x3 is not a decimal number, as you see\r\n";
    const Case cases[] = {
        {"120 ", 120, 3, {}},          // the blank ends it
        {"-5\r\n", -5, 2, {}},         // so does the CR
        {"1-2 ", -102, 3, {}},         // the '-' counts as a digit 0
        {"1--2,", -1002, 4, {}},       // and it stays negative
        {"  42,7", 42, 4, {}},         // blanks before, the comma ends it
        {"\r\n  42 ", 42, 6, {}},      // a missing number reads the next line
        {"12" + x_text, 1203, 4, {2}}, // the x is shown with the 31 bytes after it
        {",5 ", 5, 2, {0}},            // a comma where the number should start
        {"5{\r\n", 50, 2, {1}},        // a brace stuck to the number
        {"\r\nab, ", 0, 4, {2, 3}},    // the next line is text: each byte is reported
        {"4294967297 ", 1, 10, {}},    // too large: wraps without a report
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Load(c.bytes);
        size_t boxes = headless->boxes().size();
        EXPECT_EQ(Read_num(), c.value);
        EXPECT_EQ(game.cur, c.cur);
        ASSERT_EQ(headless->boxes().size(), boxes + c.bad.size());
        for (size_t i = 0; i < c.bad.size(); i++)
            EXPECT_EQ(Boxes()[boxes + i], Not_decimal(c.bytes, c.bad[i]));
        // every report asks the window to close
        EXPECT_EQ(Drain_closes(), (int)c.bad.size());
    }
}

TEST_F(Lexer, MalformedNumberEndsTheRunThroughTheWindowClose) {
    Write_script("#delay 12x3\r\n" + Cp("あ"));
    EXPECT_EQ(Play(5000), 0);
    EXPECT_FALSE(headless->stopped_by_deadline());
    EXPECT_FALSE(IsWindow(game.main_window));
    // the 32 bytes from the x run into the end marker and stop at its 0
    EXPECT_EQ(Boxes(), std::vector<std::string>{"えらー|[x3\r\nあ\xEF\xBF\xBD]：10進数ではありません"});
}

TEST_F(Lexer, ReadWordAndReadLineStopsAndCuts) {
    Load("BG,bg.bgh");
    EXPECT_STREQ(Read_word(), "BG");
    EXPECT_EQ(game.cur, 2);

    Load(" \tname\tx");
    EXPECT_STREQ(Read_word(), "name");
    EXPECT_EQ(game.cur, 6);

    Load("\r\nword");
    EXPECT_STREQ(Read_word(), "");
    EXPECT_EQ(game.cur, 0);

    // a 300-byte word or line gives its first 254 bytes, cur on the 255th
    const std::string long_run(300, 'w');
    Load(long_run + " ");
    EXPECT_EQ(std::string(Read_word()), long_run.substr(0, 254));
    EXPECT_EQ(game.cur, 254);
    Load(long_run + "\r\n");
    EXPECT_EQ(std::string(Read_line()), long_run.substr(0, 254));
    EXPECT_EQ(game.cur, 254);

    // two blanks, two two-byte characters, CR LF
    Load("  " + Cp("選択") + "\r\nnext");
    EXPECT_EQ(std::string(Read_line()), Cp("選択"));
    EXPECT_EQ(game.cur, 6);

    // blanks and commas belong to a line; a CR without LF is copied; a lone LF ends the line too
    Load("a, b\rc\nd\r\n");
    EXPECT_STREQ(Read_line(), "a, b\rc");
    EXPECT_EQ(game.cur, 6);
}

TEST_F(Lexer, SkipsCountBracesButNotTheSecondByteOfACharacter) {
    Load("a{b/c}d/e");
    Skip_branch();
    EXPECT_EQ(game.cur, 8); // the e: the first '/' was at depth 1

    const std::string kana = Cp("あ") + "/x/y";
    Load(kana);
    Skip_branch();
    EXPECT_EQ(game.cur, Pos(kana, "y")); // the '/' right after the character is no syntax

    Load("/X{Y}Z}\r\nN");
    Skip_block();
    EXPECT_EQ(game.cur, 8); // the LF: the CR after the '}' is passed over

    // ボ and マ end in the bytes of '{' and '}': the skips must not count them
    const std::string braces = "/" + Cp("ボ") + "1" + Cp("マ") + "2}\r\nN";
    Load(braces);
    Skip_block();
    EXPECT_EQ(game.cur, Pos(braces, "\n"));
    const std::string branch = Cp("マ") + "{" + Cp("ボ") + "/}/Z";
    Load(branch);
    Skip_branch();
    EXPECT_EQ(game.cur, Pos(branch, "Z"));

    // a branch whose depth falls below 0 stops only at a '/' that brings it back to 0
    Load("}/{/Q");
    Skip_branch();
    EXPECT_EQ(game.cur, 4);
    EXPECT_TRUE(headless->boxes().empty());
}

TEST_F(Lexer, SkipRunningOffTheBufferReportsAndHalts) {
    for (auto skip : {Skip_branch, Skip_block}) {
        Load("{ no end in sight");
        skip();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0], "Error|サーチＥＮＤ。{ }の対応が変？かも･･･（謎）");
        EXPECT_EQ(game.cur, SCRIPT_BUF_SIZE - 1);
        EXPECT_EQ(game.halt_run, 1);
        EXPECT_EQ(game.text_run, 0);
        Restart();
    }

    // in a running story: the '/' finds no '}', and the next click ends the program
    Write_script("A/BC");
    headless->inject(700, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Play(5000), 0);
    EXPECT_EQ(headless->elapsed(), 700u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error|サーチＥＮＤ。{ }の対応が変？かも･･･（謎）"});
    EXPECT_EQ(game.text_x, 30);
}
