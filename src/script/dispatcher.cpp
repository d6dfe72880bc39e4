// The command dispatcher: a '#' starts a comment or a command, whose name is looked up in the
// keyword table and whose handler reads its own arguments from cur.
#include "audio.h"
#include "gfx.h"
#include "interact.h"
#include "script.h"
#include "text.h"

#include <cstring>

namespace {

using enum Arg;

// In the order the names are compared.
const Keyword keywords[] = {
    {"delay", Com_delay, {STEP, NUMBER}},
    {"wait", Com_wait, {NONE}},
    {"w", Com_wait, {NONE}},
    {"halt", Com_halt, {NONE}},
    {"page", Com_page, {NONE}},
    {"g_load", Com_g_load, {STEP, SURFACE, LIST_GAP, PICTURE}},
    {"g_copy",
     Com_g_copy,
     {STEP, SURFACE, LIST_GAP, NUMBER, LIST_GAP, NUMBER, LIST_GAP, SURFACE, LIST_GAP, NUMBER, LIST_GAP,
      NUMBER, LIST_GAP, NUMBER, LIST_GAP, NUMBER}},
    {"g_change", Com_g_change_task, {STEP, EFFECT}},
    {"flag_on", Com_flag_on, {STEP, FLAG}},
    {"flag_off", Com_flag_off, {STEP, FLAG}},
    {"disp_flag", Com_disp_flag, {STEP, FLAG}},
    {"if_flag", Com_if_flag, {STEP, FLAG, BRANCHES}},
    {"jump", Com_jump, {STEP, LABEL}},
    {"file_change", Com_file_change, {STEP, SCRIPT, NAME_GAP, LABEL}},
    {"select3", Com_select3, {CHOICES}},
    {"play_wav", Com_play_wav, {STEP, PLAY_MODE, NAME_GAP, WAVE}},
    {"stop_wav", Com_stop_wav, {NONE}},
    {"play_midi", Com_play_midi, {STEP, MUSIC}},
    {"stop_midi", Com_stop_midi, {NONE}},
    {"play_mp3", Com_play_mp3, {STEP, MUSIC}},
    {"stop_mp3", Com_stop_mp3, {NONE}},
    {"set_font_size", Com_set_font_size, {STEP, FONT_SIZE}},
    {"set_text_area", Com_set_text_area, {STEP, AREA, LIST_GAP, AREA, LIST_GAP, AREA, LIST_GAP, AREA}},
    {"set_text_wait", Com_set_text_wait, {STEP, TEXT_WAIT}},
    {"set_text_color",
     Com_set_text_color,
     {STEP, COLOUR, LIST_GAP, COLOUR, LIST_GAP, COLOUR, LIST_GAP, COLOUR, LIST_GAP, COLOUR, LIST_GAP,
      COLOUR}},
    {"fade_out", Com_fade_out, {STEP}},
    {"fade_in", Com_fade_in, {STEP}},
    {"alpha_copy",
     Com_alpha_copy,
     {STEP, SURFACE, LIST_GAP, NUMBER, LIST_GAP, NUMBER, LIST_GAP, SURFACE, LIST_GAP, NUMBER, LIST_GAP,
      NUMBER, LIST_GAP, NUMBER, LIST_GAP, NUMBER, LIST_GAP, PERCENT}},
    {"start_menu", Com_start_menu, {STEP, NUMBER, LIST_GAP, NUMBER, LIST_GAP}},
};

} // namespace

std::span<const Keyword> Keywords() { return keywords; }

Arg_range Arg_bounds(Arg arg) {
    switch (arg) {
    case FLAG:
        return {0, FLAG_COUNT - 1};
    case TEXT_WAIT:
        return {0, TEXT_WAIT_MAX};
    case COLOUR:
        return {0, COLOUR_MAX};
    default:
        return {INT32_MIN, INT32_MAX};
    }
}

bool Comment_at(int pos) {
    return (pos < SCRIPT_LAST && Script_at(pos + 1) == '#') || (pos > 0 && Script_at(pos - 1) == '#');
}

int Comment_end(int pos) {
    while (pos < SCRIPT_LAST && Script_at(pos) != '\r' && Script_at(pos) != SCRIPT_END_MARK) pos++;
    return pos;
}

int Word_end(int hash) {
    int end = hash + 1;
    while (end - hash - 1 < 255 && end <= SCRIPT_LAST && Script_at(end) > 0x20) end++;
    return end;
}

void Command_call() {
    if (Comment_at(game.cur)) {
        // a last comment ends at the mark, where the story is over, not in what an older script left
        game.cur = Comment_end(game.cur);
        unsigned char end = Script_at(game.cur);
        if (end != '\r' && end != SCRIPT_END_MARK) Script_end(); // the comment runs off the buffer
        return;
    }
    char name[256];
    int end = Word_end(game.cur), n = end - game.cur - 1;
    std::memcpy(name, game.script_buf + game.cur + 1, (size_t)n);
    name[n] = 0;
    game.cur = end - 1; // on the word's last byte
    bool known = false;
    for (const Keyword& k : keywords) {
        if (std::strcmp(name, k.name) != 0) continue;
        known = true;
        k.handler();
    }
    if (!known) Msg_box_arg(Sjis("警告：無効なコマンド [#%s] が記述されています"), name, "Command_call()");
}
