// g_change: BS gives way to BG with one of four effects, a frame at least every 20 ms, while the
// script waits; at the end typing resumes at the text area's top-left corner.
#include "gfx.h"

#include <cstring>

namespace {

constexpr int CELL = 16; // SPREAD's cells

constexpr std::array<int, 1280> Spread_rule() {
    std::array<int, 1280> table{};
    for (int r = 0; r < 32; r++)
        for (int c = 0; c < 40; c++) {
            int d = (c <= 19 ? 19 - c : c - 20) + (r <= 15 ? 15 - r : r - 16);
            table[r * 40 + c] = c >= 20 && r >= 8 && r <= 23 && d >= 17 ? d - 1 : d;
        }
    return table;
}

// Whether a frame is due; if so its time is taken.
bool Frame_due() {
    if (!Tick_elapsed(game.change_tick, game.change_interval)) return false;
    Tick_mark(&game.change_tick);
    return true;
}

const Effect effects[] = {
    {"CURTAIN", Tick_curtain, 740, 10, 20},
    {"SPREAD", Tick_spread, 45, 1, 20},
    {"STRETCH_X", Tick_stretch_x, 320, 20, 20},
    {"STRETCH_Y", Tick_stretch_y, 240, 20, 20},
};
constexpr int EFFECT_COUNT = sizeof effects / sizeof effects[0];

// After a frame: the end once the effect's last step is drawn, else the next step.
void Frame_done() {
    const Effect& e = effects[game.change_kind];
    if (game.change_step < e.last_step) {
        game.change_step += e.step;
        return;
    }
    Text_resume(game.change_run);
    game.text_x = game.area_left;
    game.text_y = game.area_top;
}

void Copy_from_bg(int x, int y, int w, int h) {
    BitBlt(game.bs_surface, x, y, w, h, game.bg_surface, x, y, SRCCOPY);
}

// SPREAD's square for a cell s - t steps after its start: size, offset on BS, offset on BG.
struct Square {
    int size, at, from;
};
constexpr Square squares[] = {{2, 7, 4}, {4, 6, 6}, {6, 4, 4}, {8, 3, 3}, {12, 2, 2}, {16, 0, 0}};

} // namespace

const std::array<int, 1280> spread_table = Spread_rule();

std::span<const Effect> Effects() { return effects; }

int Com_g_change_task() {
    Cur_forward(1);
    const char* name = Read_word();
    int kind = 0;
    while (kind < EFFECT_COUNT && std::strcmp(name, effects[kind].name) != 0) kind++;
    if (kind == EFFECT_COUNT) {
        Msg_box_arg(Sjis("シンボル [%s] は不正です。強制終了～♪"), name, "Com_g_change_task()");
        Game_end();
    } else {
        game.change_kind = kind;
        game.change_interval = effects[kind].interval;
    }
    // a bad name still starts a transition of the previous kind; the program ends meanwhile
    Text_pause(game.change_run);
    game.change_step = 0;
    Tick_mark(&game.change_tick);
    return 0;
}

int Tick_change() {
    if (game.change_kind >= 0 && game.change_kind < EFFECT_COUNT) effects[game.change_kind].frame();
    return 0;
}

int Tick_curtain() {
    if (!Frame_due()) return 0;
    // ten bands grow at once, each one pixel wider than the band to its right
    int s = game.change_step;
    Copy_from_bg(s, 0, 1, SCREEN_H);
    for (int i = 1; i <= 9; i++) Copy_from_bg(s - 10 * i, 0, i + 1, SCREEN_H);
    Frame_done();
    return 0;
}

int Tick_spread() {
    if (!Frame_due()) return 0;
    int s = game.change_step;
    for (int r = 0; r < 32; r++)
        for (int c = 0; c < 40; c++) {
            int since = s - spread_table[r * 40 + c];
            if (since < 0 || since > 10 || since % 2) continue;
            const Square& q = squares[since / 2];
            int x = c * CELL, y = r * CELL;
            StretchBlt(game.bs_surface, x + q.at, y + q.at, q.size, q.size, game.bg_surface, x + q.from,
                       y + q.from, q.size, q.size, SRCCOPY);
        }
    Frame_done();
    return 0;
}

int Tick_stretch_x() {
    if (!Frame_due()) return 0;
    int s = game.change_step;
    StretchBlt(game.bs_surface, 320 - s, 0, 2 * s, SCREEN_H, game.bg_surface, 0, 0, SCREEN_W, SCREEN_H,
               SRCCOPY);
    Frame_done();
    return 0;
}

int Tick_stretch_y() {
    if (!Frame_due()) return 0;
    int s = game.change_step;
    StretchBlt(game.bs_surface, 0, 240 - s, SCREEN_W, 2 * s, game.bg_surface, 0, 0, SCREEN_W, SCREEN_H,
               SRCCOPY);
    Frame_done();
    return 0;
}
