// Click-waits with their blinking cursor, and the halt, played on the virtual clock (the delays:
// golden/waits.golden).
#include "game_folder.h"

using Waits = Script_test;

TEST_F(Waits, CursorBlinksEvery400MsAClickPutsBsBackAndAHaltEndsOnAClickOnly) {
    // The story sampled each ms as runs with their lengths: T (no click-wait), S (a click-wait, its
    // cursor shown: the square at the text cursor differs from BS as it was before the wait) and H
    // (hidden); after each wait "=" when all of BS is back as it was before it, "!" if not.
    std::string runs;
    char last = 'T';
    int length = 0;
    uint64_t version = ~0ull;
    std::vector<uint32_t> before, halted;
    for (DWORD t = 1; t < 2600; t++)
        headless->call_at(t, [&] {
            const Surface* bs = game.bs_surface;
            char now = game.wait_run ? 'H' : 'T';
            for (int y = game.text_y; now == 'H' && y < game.text_y + 25; y++)
                for (int x = game.text_x; x < game.text_x + 25; x++)
                    if (At(bs, x, y) != before[y * SCREEN_W + x]) now = 'S';
            if (now != last) {
                runs += last + std::to_string(length) + " ";
                length = 0;
            }
            if (now == 'T' && last != 'T') runs += Frame(bs) == before ? "= " : "! ";
            if (now == 'T' && bs->version != version) {
                before = Frame(bs);
                version = bs->version;
            }
            last = now;
            length++;
        });
    // #w is #wait; they start at 60, 960 and 1560 ms; clicks while shown, hidden, and hidden after 800 ms
    Events("900 ldown 0 0\n1500 key RETURN\n2500 key SPACE\n");
    // halted, nothing more is typed: a right click and other keys end nothing, and no cursor is drawn
    headless->call_at(2600, [&] { halted = Frame(game.bs_surface); });
    Events("2700 rdown 0 0\n2750 key 65\n2800 ldown 0 0\n");
    Play_script(Cp("あ") + "#wait\r\n" + Cp("い") + "#w\r\n" + Cp("う") + "#wait\r\n#halt\r\n" + Cp("え"),
                5000);
    // hidden 400 ms after the wait starts and shown again 400 ms later; the first wait ended shown,
    // so the second blinks as the first did; the second ended hidden, so the third shows for 800 ms
    EXPECT_EQ(runs, "T60 S400 H400 S40 = T60 S400 H140 = T60 S800 H140 = ");
    EXPECT_EQ(std::tuple(headless->elapsed(), game.halt_run, game.text_x), std::tuple(2800u, 1, 80));
    EXPECT_EQ(Frame(game.bs_surface), halted);
}
