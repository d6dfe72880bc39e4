// The command dispatcher: a '#' starts a comment or a command, whose name is looked up in the
// keyword table and whose handler reads its own arguments from cur.
#include "audio.h"
#include "gfx.h"
#include "interact.h"
#include "script.h"
#include "text.h"

#include <cstring>

namespace {

// In the order the names are compared.
const Keyword keywords[] = {
    {"delay", Com_delay},
    {"wait", Com_wait},
    {"w", Com_wait},
    {"halt", Com_halt},
    {"page", Com_page},
    {"g_load", Com_g_load},
    {"g_copy", Com_g_copy},
    {"g_change", Com_g_change_task},
    {"flag_on", Com_flag_on},
    {"flag_off", Com_flag_off},
    {"disp_flag", Com_disp_flag},
    {"if_flag", Com_if_flag},
    {"jump", Com_jump},
    {"file_change", Com_file_change},
    {"select3", Com_select3},
    {"play_wav", Com_play_wav},
    {"stop_wav", Com_stop_wav},
    {"play_midi", Com_play_midi},
    {"stop_midi", Com_stop_midi},
    {"play_mp3", Com_play_mp3},
    {"stop_mp3", Com_stop_mp3},
    {"set_font_size", Com_set_font_size},
    {"set_text_area", Com_set_text_area},
    {"set_text_wait", Com_set_text_wait},
    {"set_text_color", Com_set_text_color},
    {"fade_out", Com_fade_out},
    {"fade_in", Com_fade_in},
    {"alpha_copy", Com_alpha_copy},
    {"start_menu", Com_start_menu},
};

// A '#' next to another '#' starts a comment: everything up to the CR is passed over.
bool Comment(int at) {
    return (at < SCRIPT_LAST && Script_at(at + 1) == '#') || (at > 0 && Script_at(at - 1) == '#');
}

} // namespace

std::span<const Keyword> Keywords() { return keywords; }

void Command_call() {
    if (Comment(game.cur)) {
        while (game.cur < SCRIPT_LAST && Script_at(game.cur) != '\r') game.cur++;
        if (Script_at(game.cur) != '\r') Script_end(); // the comment runs off the end of the buffer
        return;
    }
    // the name runs to the first byte of 0x20 or below, 255 bytes at most
    char name[256];
    int n = 0;
    while (n < 255 && game.cur + 1 <= SCRIPT_LAST && Script_at(game.cur + 1) > 0x20) {
        game.cur++;
        name[n++] = (char)Script_at(game.cur);
    }
    name[n] = 0;
    bool known = false;
    for (const Keyword& k : keywords) {
        if (std::strcmp(name, k.name) != 0) continue;
        known = true;
        if (k.handler) k.handler();
    }
    if (!known) Msg_box_arg(Sjis("警告：無効なコマンド [#%s] が記述されています"), name, "Command_call()");
}
