// A save's state body of named entries, and the first format's untagged body read into one.
#include "save_entries.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

static_assert(std::endian::native == std::endian::little, "lengths are written in the machine's order");

struct Old_field {
    const char* name;
    size_t size;
};

// The first format's fields, in its order and with its sizes: fixed for good, whatever GameState
// becomes. Ticks were already saved as their age.
const Old_field first_fields[] = {
    {"mouse_buttons", 4}, {"mouse_x", 4},      {"mouse_y", 4},        {"text_run", 4},
    {"delay_run", 4},     {"wait_run", 4},     {"halt_run", 4},       {"page_run", 4},
    {"change_run", 4},    {"select_run", 4},   {"fade_out_run", 4},   {"fade_in_run", 4},
    {"menu_state", 4},    {"present_tick", 4}, {"text_tick", 4},      {"delay_tick", 4},
    {"blink_tick", 4},    {"change_tick", 4},  {"fade_tick", 4},      {"menu_tick", 4},
    {"delay_ms", 4},      {"wait_phase", 4},   {"page_phase", 4},     {"change_step", 4},
    {"change_kind", 4},   {"fade_percent", 4}, {"blink_interval", 4}, {"change_interval", 4},
    {"text_color", 4},    {"shadow_color", 4}, {"script_buf", 65536}, {"cur", 4},
    {"word_buf", 512},    {"line_buf", 512},   {"flags", 256},        {"script_name", 256},
    {"font_size", 4},     {"char_width", 4},   {"line_height", 4},    {"text_x", 4},
    {"text_y", 4},        {"area_left", 4},    {"area_top", 4},       {"area_right", 4},
    {"area_bottom", 4},   {"text_wait", 4},    {"menu_arg_x", 4},     {"menu_arg_y", 4},
    {"menu_x", 4},        {"menu_y", 4},       {"menu_w", 4},         {"menu_h", 4},
    {"menu_save_x", 4},   {"menu_save_y", 4},  {"menu_button", 16},   {"choice_rect", 48},
    {"bgm_playing", 4},   {"bgm_kind", 4},     {"se_playing", 4},     {"se_loop", 4},
    {"bgm_path", 256},    {"se_path", 256},
};
const Old_field first_pictures[] = {
    {"bs_surface", 640 * 480 * 4},   {"bg_surface", 640 * 480 * 4},    {"pt_surface", 75 * 25 * 4},
    {"menu_surface", 600 * 200 * 4}, {"select_normal", 640 * 480 * 4}, {"select_hilite", 640 * 480 * 4},
    {"fade_surface", 640 * 480 * 4},
};

} // namespace

void Put_entry(std::string& body, std::string_view name, const void* data, size_t size) {
    body += (char)name.size();
    body += name;
    uint32_t length = (uint32_t)size;
    body.append((const char*)&length, 4);
    body.append((const char*)data, size);
}

bool Read_entries(std::string_view body, Entries* entries) {
    while (!body.empty()) {
        size_t name_size = (unsigned char)body[0];
        if (name_size == 0 || body.size() < 1 + name_size + 4) return false;
        std::string_view name = body.substr(1, name_size);
        uint32_t size = 0;
        std::memcpy(&size, body.data() + 1 + name_size, 4);
        body.remove_prefix(1 + name_size + 4);
        if (body.size() < size || !entries->emplace(name, body.substr(0, size)).second) return false;
        body.remove_prefix(size);
    }
    return true;
}

void Read_front_entries(std::string_view front, Entries* entries) {
    for (;;) {
        if (front.empty()) return;
        size_t name_size = (unsigned char)front[0];
        if (name_size == 0 || front.size() < 1 + name_size + 4) return;
        uint32_t size = 0;
        std::memcpy(&size, front.data() + 1 + name_size, 4);
        if (front.size() - (1 + name_size + 4) < size) return;
        entries->emplace(front.substr(1, name_size), front.substr(1 + name_size + 4, size));
        front.remove_prefix(1 + name_size + 4 + size);
    }
}

bool First_format_body(std::string_view old, std::string* body) {
    for (const Old_field& field : first_fields) {
        if (old.size() < field.size) return false;
        Put_entry(*body, field.name, old.data(), field.size);
        old.remove_prefix(field.size);
    }
    for (const Old_field& picture : first_pictures) {
        if (old.empty() || (unsigned char)old[0] > 1) return false;
        bool alive = old[0] == 1;
        old.remove_prefix(1);
        if (!alive) continue;
        if (old.size() < picture.size) return false;
        Put_entry(*body, picture.name, old.data(), picture.size);
        old.remove_prefix(picture.size);
    }
    return old.empty();
}
