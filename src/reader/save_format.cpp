// A save file's content: the story's whole state, written field by field, and read back only once
// every byte of it has been checked.
#include "save_format.h"
#include "audio.h"
#include "gfx.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace {

static_assert(std::endian::native == std::endian::little, "fields are written in the machine's order");

constexpr char MAGIC[8] = {'V', 'E', 'L', 'T', 'S', 'A', 'V', 'E'};
constexpr uint32_t VERSION = 1;
constexpr size_t ID_SIZE = 64;
// magic, version, packed size, state size, checksum of the packed state, game
constexpr size_t HEADER = sizeof MAGIC + 4 * 4 + ID_SIZE;
constexpr uint32_t STATE_MAX = 16u << 20; // far above the largest state: seven pictures and the script

// The surfaces a story can have alive, in file order, with the size each always has.
struct Surface_slot {
    Surface* GameState::*surface;
    int width, height;
};
const Surface_slot SURFACES[] = {
    {&GameState::bs_surface, SCREEN_W, SCREEN_H},
    {&GameState::bg_surface, SCREEN_W, SCREEN_H},
    {&GameState::pt_surface, 75, 25},
    {&GameState::menu_surface, 600, 200},
    {&GameState::select_normal, SCREEN_W, SCREEN_H},
    {&GameState::select_hilite, SCREEN_W, SCREEN_H},
    {&GameState::fade_surface, SCREEN_W, SCREEN_H},
};
constexpr int SURFACE_COUNT = sizeof SURFACES / sizeof SURFACES[0];

// Every field of the story, handles aside, in file order: one list for writing and reading.
template <class V> void Each_field(GameState& s, V& v) {
    for (int* n :
         {&s.mouse_buttons, &s.mouse_x, &s.mouse_y, &s.text_run, &s.delay_run, &s.wait_run, &s.halt_run,
          &s.page_run, &s.change_run, &s.select_run, &s.fade_out_run, &s.fade_in_run, &s.menu_state})
        v.num(*n);
    for (DWORD* t : {&s.present_tick, &s.text_tick, &s.delay_tick, &s.blink_tick, &s.change_tick,
                     &s.fade_tick, &s.menu_tick})
        v.tick(*t);
    for (int* n :
         {&s.delay_ms, &s.wait_phase, &s.page_phase, &s.change_step, &s.change_kind, &s.fade_percent})
        v.num(*n);
    for (uint32_t* w : {&s.blink_interval, &s.change_interval, &s.text_color, &s.shadow_color}) v.word(*w);
    v.bytes(s.script_buf, sizeof s.script_buf);
    v.num(s.cur);
    v.bytes(s.word_buf, sizeof s.word_buf);
    v.bytes(s.line_buf, sizeof s.line_buf);
    v.bytes(s.flags, sizeof s.flags);
    v.bytes(s.script_name, sizeof s.script_name);
    for (int* n : {&s.font_size, &s.char_width, &s.line_height, &s.text_x, &s.text_y, &s.area_left,
                   &s.area_top, &s.area_right, &s.area_bottom, &s.text_wait, &s.menu_arg_x, &s.menu_arg_y,
                   &s.menu_x, &s.menu_y, &s.menu_w, &s.menu_h, &s.menu_save_x, &s.menu_save_y})
        v.num(*n);
    for (Rect* r : {&s.menu_button, &s.choice_rect[0], &s.choice_rect[1], &s.choice_rect[2]})
        for (int32_t* n : {&r->left, &r->top, &r->right, &r->bottom}) v.num(*n);
    for (int* n : {&s.bgm_playing, &s.bgm_kind, &s.se_playing, &s.se_loop}) v.num(*n);
    v.bytes(s.bgm_path, sizeof s.bgm_path);
    v.bytes(s.se_path, sizeof s.se_path);
}

struct Writer {
    DWORD now;
    std::string out;
    void bytes(const void* p, size_t n) { out.append((const char*)p, n); }
    void word(uint32_t& w) { bytes(&w, 4); }
    void num(int32_t& n) { bytes(&n, 4); }
    void tick(DWORD& t) { // how long ago, so that a restore keeps every wait's progress
        DWORD ago = now - t;
        word(ago);
    }
};

struct Reader_of_bytes {
    DWORD now;
    const std::string& in;
    size_t at = 0;
    bool ok = true;
    void bytes(void* p, size_t n) {
        if (!ok || in.size() - at < n) {
            ok = false;
            return;
        }
        std::memcpy(p, in.data() + at, n);
        at += n;
    }
    void word(uint32_t& w) { bytes(&w, 4); }
    void num(int32_t& n) { bytes(&n, 4); }
    void tick(DWORD& t) {
        DWORD ago = 0;
        word(ago);
        t = now - ago;
    }
};

using Owned_surface = std::unique_ptr<Surface, Surface_deleter>;

// A restore in waiting: the state and the pictures, all read and checked.
struct Staged {
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    size_t fields_end = 0; // where the fields end in the state bytes, to be read again into game
    Owned_surface surfaces[SURFACE_COUNT];
};

bool Terminated(const char* text, size_t size) { return std::memchr(text, 0, size) != nullptr; }

// What the engine's tasks rely on and a script cannot set: a state that breaks it is no save of ours.
bool Consistent(const Staged& st) {
    const GameState& s = *st.state;
    auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    bool has[SURFACE_COUNT];
    for (int i = 0; i < SURFACE_COUNT; i++) has[i] = st.surfaces[i] != nullptr;
    return in(s.cur, 0, SCRIPT_LAST) && in(s.change_kind, 0, (int)Effects().size() - 1) &&
           in(s.change_step, 0, SCREEN_W) && in(s.fade_percent, 0, 105) && in(s.wait_phase, 0, 1) &&
           in(s.page_phase, 0, 1) && Terminated(s.word_buf, sizeof s.word_buf) &&
           Terminated(s.line_buf, sizeof s.line_buf) && Terminated(s.script_name, sizeof s.script_name) &&
           Terminated(s.bgm_path, sizeof s.bgm_path) && Terminated(s.se_path, sizeof s.se_path) && has[0] &&
           has[1] && has[2] && has[3] == (s.menu_state == MENU_SHOWN) && has[4] == (s.select_run == 1) &&
           has[5] == (s.select_run == 1) && has[6] == (s.fade_out_run == 1);
}

// The state bytes into st: false when they are short, long, or not a state the engine can run.
bool Stage(const std::string& state, DWORD now, Staged* st) {
    Reader_of_bytes r{now, state};
    Each_field(*st->state, r);
    st->fields_end = r.at;
    for (int i = 0; r.ok && i < SURFACE_COUNT; i++) {
        uint8_t alive = 0;
        r.bytes(&alive, 1);
        if (!r.ok || alive > 1) return false;
        if (!alive) continue;
        const Surface_slot& slot = SURFACES[i];
        st->surfaces[i].reset(Surface_create(slot.width, slot.height));
        if (!st->surfaces[i]) return false;
        r.bytes(st->surfaces[i]->pixels, (size_t)slot.width * slot.height * 4);
    }
    return r.ok && r.at == state.size() && Consistent(*st);
}

void Put_u32(std::string& out, uint32_t v) { out.append((const char*)&v, 4); }
uint32_t Get_u32(const std::string& in, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, in.data() + at, 4);
    return v;
}

std::string Id_field(const std::string& game_id) {
    std::string id = game_id.substr(0, ID_SIZE - 1);
    id.resize(ID_SIZE, '\0');
    return id;
}

} // namespace

const char* Save_unpack(const std::string& bytes, const std::string& game_id, std::string* state) {
    const char* broken = Sjis("セーブデータが壊れています");
    // a file cut inside the magic is still a save of ours, broken
    if (std::memcmp(bytes.data(), MAGIC, std::min(bytes.size(), sizeof MAGIC)) != 0)
        return Sjis("セーブデータではありません");
    if (bytes.size() < HEADER) return broken;
    uint32_t version = Get_u32(bytes, 8), packed = Get_u32(bytes, 12), size = Get_u32(bytes, 16);
    if (version > VERSION) return Sjis("新しい版のセーブデータです");
    if (bytes.compare(24, ID_SIZE, Id_field(game_id)) != 0) return Sjis("別のゲームのセーブデータです");
    if (version != VERSION || packed != bytes.size() - HEADER || size > STATE_MAX) return broken;
    const Bytef* body = (const Bytef*)bytes.data() + HEADER;
    if (crc32(0, body, packed) != Get_u32(bytes, 20)) return broken;
    state->resize(size);
    uLongf length = size;
    if (uncompress((Bytef*)state->data(), &length, body, packed) != Z_OK || length != size) return broken;
    return nullptr;
}

namespace {

// The story now playing goes: its sounds stop, and the staged state and pictures take its place.
void Apply(Staged& st, const std::string& state, DWORD now) {
    Audio_stop_all();
    for (int i = 0; i < SURFACE_COUNT; i++) {
        Surface*& live = game.*SURFACES[i].surface;
        Surface* saved = st.surfaces[i].release();
        if (saved && live) {
            // the live surface keeps its drawing state; its picture changes as a drawing would change it
            BitBlt(live, 0, 0, saved->width, saved->height, saved, 0, 0, SRCCOPY);
            Surface_destroy(saved);
        } else {
            if (live) Surface_destroy(live);
            live = saved;
        }
    }
    std::string fields = state.substr(0, st.fields_end);
    Reader_of_bytes r{now, fields};
    Each_field(game, r);
    if (game.bgm_playing == 1 && game.bgm_kind == 0) Com_restart_midi();
    if (game.bgm_playing == 1 && game.bgm_kind == 1) Com_restart_mp3();
    if (game.se_playing == 1 && game.se_loop)
        PlaySound(game.se_path, nullptr, SND_FILENAME | SND_LOOP | SND_ASYNC);
}

} // namespace

std::string Save_encode(const std::string& game_id, DWORD now) {
    Writer w{now, {}};
    Each_field(game, w);
    for (const Surface_slot& slot : SURFACES) {
        const Surface* s = game.*slot.surface;
        uint8_t alive = s && s->width == slot.width && s->height == slot.height;
        w.bytes(&alive, 1);
        if (alive) w.bytes(s->pixels, (size_t)s->width * s->height * 4);
    }
    return Save_pack(w.out, game_id);
}

std::string Save_pack(const std::string& state, const std::string& game_id) {
    uLongf packed_size = compressBound(state.size());
    std::string packed(packed_size, '\0');
    if (compress2((Bytef*)packed.data(), &packed_size, (const Bytef*)state.data(), state.size(), 6) != Z_OK)
        return "";
    packed.resize(packed_size);
    std::string out(MAGIC, sizeof MAGIC);
    Put_u32(out, VERSION);
    Put_u32(out, (uint32_t)packed.size());
    Put_u32(out, (uint32_t)state.size());
    Put_u32(out, (uint32_t)crc32(0, (const Bytef*)packed.data(), (uInt)packed.size()));
    out += Id_field(game_id);
    return out + packed;
}

const char* Save_restore(const std::string& bytes, const std::string& game_id, DWORD now) {
    std::string state;
    if (const char* why = Save_unpack(bytes, game_id, &state)) return why;
    Staged staged;
    if (!Stage(state, now, &staged)) return Sjis("セーブデータが壊れています");
    Apply(staged, state, now);
    return nullptr;
}
