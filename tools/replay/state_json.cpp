// GameState as JSON.
#include "state_json.h"
#include "core.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

std::string Field(const char* name, long long value) {
    return Json_string(name) + ":" + std::to_string(value);
}

// The pieces, already written, between open and close, a comma between each two.
std::string Join(const char* open, std::initializer_list<std::string> pieces, const char* close) {
    std::string out = open;
    for (const std::string& piece : pieces) out += (out.size() > 1 ? "," : "") + piece;
    return out + close;
}

std::string Modes(const GameState& s) {
    return Join("{",
                {Field("text_run", s.text_run), Field("delay_run", s.delay_run),
                 Field("wait_run", s.wait_run), Field("halt_run", s.halt_run), Field("page_run", s.page_run),
                 Field("change_run", s.change_run), Field("select_run", s.select_run),
                 Field("fade_out_run", s.fade_out_run), Field("fade_in_run", s.fade_in_run),
                 Field("menu_state", s.menu_state)},
                "}");
}

std::string Flags_on(const GameState& s) {
    std::string out = "[";
    for (size_t i = 0; i < sizeof s.flags; i++)
        if (s.flags[i] == 1) out += (out.size() > 1 ? "," : "") + std::to_string(i);
    return out + "]";
}

std::string Bgm_path(const GameState& s) {
    // the buffer is filled by scripts: read no further than its end
    return Json_string(Cp932_to_utf8(s.bgm_path, strnlen(s.bgm_path, sizeof s.bgm_path)));
}

// The script in the buffer as the game folder holds it, txt/chapter2.tda; the name was set by the
// engine, but read no further than its buffer all the same
std::string Script_path(const GameState& s) {
    return Json_string(
        Folder_path(std::string(s.script_name, strnlen(s.script_name, sizeof s.script_name)).c_str()));
}

} // namespace

std::string Json_string(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\')
            out += {'\\', c};
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if ((unsigned char)c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", (unsigned)c);
            out += code;
        } else
            out += c;
    }
    return out + "\"";
}

std::string State_json(const GameState& s, DWORD ms) {
    std::string area = Join("[",
                            {std::to_string(s.area_left), std::to_string(s.area_top),
                             std::to_string(s.area_right), std::to_string(s.area_bottom)},
                            "]");
    return Join(
        "{",
        {Field("ms", ms), "\"script\":" + Script_path(s), Field("cur", s.cur), Field("text_x", s.text_x),
         Field("text_y", s.text_y), Field("font_size", s.font_size), Field("char_width", s.char_width),
         Field("line_height", s.line_height), "\"area\":" + area, Field("text_wait", s.text_wait),
         Field("text_color", s.text_color), Field("shadow_color", s.shadow_color), "\"modes\":" + Modes(s),
         "\"flags_on\":" + Flags_on(s), Field("bgm_playing", s.bgm_playing), Field("bgm_kind", s.bgm_kind),
         "\"bgm_path\":" + Bgm_path(s), Field("se_playing", s.se_playing)},
        "}");
}
