// The text stepper: one unit at cur per text step, a character drawn or a syntax byte acted on,
// and the text cursor's movement with its wrap and page-full rules.
#include "interact.h"
#include "script.h"
#include "text.h"

namespace {

// The story is over at the end marker, at a two-byte character cut off by it, and at the end of
// the buffer (where a jump into bytes an earlier script left behind can lead).
bool At_script_end() {
    unsigned char b = Script_at(game.cur);
    if (b == SCRIPT_END_MARK || game.cur >= SCRIPT_LAST) return true;
    return b >= 0x80 && Script_at(game.cur + 1) == SCRIPT_END_MARK;
}

void Draw_at_cursor(int length) {
    ChrPut3D(game.bs_surface, game.text_x, game.text_y, game.font_size, game.text_color, game.shadow_color,
             (const char*)game.script_buf + game.cur, length);
    if (observer) observer->typed((const char*)game.script_buf + game.cur, length);
    Text_advance(length);
}

// A '*' in running text: when a ':' comes within the next 32 bytes before any blank, the label
// line is passed over up to it; otherwise the rest is typed as text. The search stops at the end mark.
void Label_rule() {
    for (int i = 1; i <= 32 && game.cur + i <= SCRIPT_LAST; i++) {
        unsigned char b = Script_at(game.cur + i);
        if (b == ' ' || b == SCRIPT_END_MARK) return;
        if (b == ':') {
            Cur_forward(i + 1);
            return;
        }
    }
}

} // namespace

void Step_on() {
    if (Script_at(game.cur) == SCRIPT_END_MARK) {
        Script_end();
        return;
    }
    Cur_forward(1);
}

int Tick_text() {
    if (!Tick_elapsed(game.text_tick, (DWORD)game.text_wait)) return 0;
    Tick_mark(&game.text_tick);
    if (observer) observer->reads_from(game.cur);
    if (At_script_end()) {
        Script_end();
        return 0;
    }
    if (Script_at(game.cur) >= 0x80) {
        Draw_at_cursor(2);
        Cur_forward(2);
        return 0;
    }
    if (Scan_token() == 0) Draw_at_cursor(1);
    Step_on();
    return 0;
}

int Scan_token() {
    switch (Script_at(game.cur)) {
    case '\t':
    case '\n':
    case '\r':
    case '{':
    case '}':
        return 1;
    case '#':
        Command_call();
        Observe_read(game.cur);
        Step_on();
        return 1;
    case '*':
        Label_rule();
        return 1;
    case '/':
        Skip_block();
        // a '}' that was the script's last byte: the step stops on the mark after it
        if (Script_at(game.cur - 1) == SCRIPT_END_MARK) game.cur--;
        return 1;
    case ';':
        Text_newline();
        return 1;
    default:
        return 0;
    }
}

void Text_advance(int n) {
    int32_t advanced = Add32(game.text_x, Mul32(n, game.char_width));
    int32_t next_y = Add32(game.text_y, game.line_height);
    if (next_y >= Sub32(game.area_bottom, game.line_height) &&
        advanced >= Sub32(game.area_right, Mul32(4, game.char_width))) {
        game.text_x = advanced;
        if (observer) observer->wrapped();
        Page_start();
    } else if (advanced < Sub32(game.area_right, Mul32(2, game.char_width))) {
        game.text_x = advanced;
    } else {
        game.text_x = game.area_left;
        game.text_y = next_y;
        if (observer) observer->wrapped();
    }
}

int Text_newline() {
    int32_t next_y = Add32(game.text_y, game.line_height);
    if (next_y > Sub32(game.area_bottom, game.line_height)) {
        Page_start();
    } else {
        game.text_y = next_y;
        game.text_x = game.area_left;
    }
    return 0;
}
