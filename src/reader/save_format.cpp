// A save file's content: the story's whole state as named entries, written and read through
// Visit_fields, and made the state only once every entry has been read and checked.
#include "save_format.h"
#include "audio.h"
#include "gfx.h"
#include "save_entries.h"
#include "save_preview.h"
#include "slots.h"
#include "text.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr char MAGIC[8] = {'V', 'E', 'L', 'T', 'S', 'A', 'V', 'E'};
// 2: named entries. 1: the same fields untagged in one fixed order, still read. A new field needs no
// new version; a change an older build must not read does.
constexpr uint32_t VERSION = 2;
constexpr size_t ID_SIZE = 64;
// magic, version, packed size, state size, checksum of the packed state, game
constexpr size_t HEADER = sizeof MAGIC + 4 * 4 + ID_SIZE;
constexpr uint32_t STATE_MAX = 16u << 20; // far above the largest state: seven pictures and the script

// Writes the story's fields as entries, each tick as its age.
struct Writer {
    DWORD now;
    std::string body;
    template <class T, class Kind> void operator()(const char* name, T GameState::*field, Kind) {
        Put_entry(body, name, &(game.*field), sizeof(T));
    }
    void operator()(const char* name, DWORD GameState::*field, Field_tick) {
        DWORD ago = now - game.*field;
        Put_entry(body, name, &ago, 4);
    }
    template <class T> void operator()(const char*, T GameState::*, Field_host) {}
    void operator()(const char*, Surface* GameState::*, const Surface_slot&) {} // after every field
};

// A restore in waiting: the state and its pictures, all read and checked.
struct Staged {
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    ~Staged() { // the pictures that did not become the story's
        for (const Surface_slot& slot : surface_slots) Surface_destroy(state.get()->*slot.surface);
    }
};

// Reads the entries into a staged state. An entry it does not name is passed over (a later build's
// field); a field with no entry keeps its start value, and a tick with none starts at the restore.
struct Stager {
    const Entries& entries;
    DWORD now;
    GameState& s;
    bool ok = true;

    // The field's entry, or null when the save has none; one of another size breaks the save.
    const char* Entry(const char* name, size_t size) {
        auto found = entries.find(name);
        if (found == entries.end()) return nullptr;
        ok = ok && found->second.size() == size;
        return ok ? found->second.data() : nullptr;
    }
    template <class T, class Kind> void operator()(const char* name, T GameState::*field, Kind) {
        if (const char* bytes = Entry(name, sizeof(T))) std::memcpy(&(s.*field), bytes, sizeof(T));
    }
    void operator()(const char* name, DWORD GameState::*field, Field_tick) {
        DWORD ago = 0;
        if (const char* bytes = Entry(name, 4)) std::memcpy(&ago, bytes, 4);
        s.*field = now - ago;
    }
    template <size_t N> void operator()(const char* name, char (GameState::*field)[N], Field_text) {
        if (const char* bytes = Entry(name, N)) {
            std::memcpy(s.*field, bytes, N);
            ok = ok && std::memchr(s.*field, 0, N) != nullptr;
        }
    }
    template <class T> void operator()(const char*, T GameState::*, Field_host) {}
    void operator()(const char* name, Surface* GameState::*field, const Surface_slot& slot) {
        size_t size = (size_t)slot.width * slot.height * 4;
        const char* pixels = Entry(name, size);
        if (!pixels) return;
        s.*field = Surface_create(slot.width, slot.height);
        if (s.*field)
            std::memcpy((s.*field)->pixels, pixels, size);
        else
            ok = false;
    }
};

// Copies the story's fields, pictures and handles aside, from a staged state into game.
struct Copier {
    const GameState& from;
    template <class T, class Kind> void operator()(const char*, T GameState::*field, Kind) {
        std::memcpy(&(game.*field), &(from.*field), sizeof(T));
    }
    template <class T> void operator()(const char*, T GameState::*, Field_host) {}
    void operator()(const char*, Surface* GameState::*, const Surface_slot&) {}
};

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Each mode, sound state and flag at 0 or 1 (the start menu's at 0 or MENU_SHOWN): a task never
// runs or stops on another value, and the story would stand still.
bool Switches_possible(const GameState& s) {
    for (int v : {s.text_run, s.delay_run, s.wait_run, s.halt_run, s.page_run, s.change_run, s.select_run,
                  s.fade_out_run, s.fade_in_run, s.bgm_playing, s.bgm_kind, s.se_playing, s.se_loop})
        if (!In(v, 0, 1)) return false;
    return (s.menu_state == 0 || s.menu_state == MENU_SHOWN) &&
           std::all_of(s.flags, s.flags + sizeof s.flags, [](unsigned char f) { return f <= 1; });
}

// What the engine's tasks rely on and a script cannot set: a state that breaks it is no save of ours.
bool Consistent(const GameState& s) {
    return Switches_possible(s) && In(s.cur, 0, SCRIPT_LAST) && In(s.text_wait, 0, TEXT_WAIT_MAX) &&
           In(s.change_kind, 0, (int)Effects().size() - 1) &&
           s.change_interval == Effects()[s.change_kind].interval && s.blink_interval == BLINK_INTERVAL &&
           In(s.change_step, 0, Effects()[s.change_kind].last_step) && In(s.fade_percent, 0, 105) &&
           In(s.wait_phase, 0, 1) && In(s.page_phase, 0, 1) && s.bs_surface && s.bg_surface && s.pt_surface &&
           (s.menu_surface != nullptr) == (s.menu_state == MENU_SHOWN) &&
           (s.select_normal != nullptr) == (s.select_run == 1) &&
           (s.select_hilite != nullptr) == (s.select_run == 1) &&
           (s.fade_surface != nullptr) == (s.fade_out_run == 1);
}

// The state bytes into st: false when they are not entries, or not a state the engine can run.
bool Stage(const std::string& state, DWORD now, Staged* st) {
    Entries entries;
    if (!Read_entries(state, &entries)) return false;
    Stager stager{entries, now, *st->state};
    Visit_fields(stager);
    return stager.ok && Consistent(*st->state);
}

// Why a file is refused, in the reader's words (UTF-8, told in CP932) and in the author's.
enum Refusal { NOT_A_SAVE, BROKEN, NEWER, OTHER_GAME };
constexpr struct {
    const char* reader;
    const char* author;
} REFUSALS[] = {
    {"セーブデータではありません", "not a save file"},
    {"セーブデータが壊れています", "damaged or cut short"},
    {"新しい版のセーブデータです", "made by a newer Veltrane"},
    {"別のゲームのセーブデータです", "made by another game"},
};
const char* Refused(Refusal why) { return Sjis(REFUSALS[why].reader); }

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

// A save's game field names this game: by its name, or by the name earlier versions gave it.
bool Same_game(const std::string& field, const std::string& game_id) {
    if (field == Id_field(game_id)) return true;
    std::string named = field.substr(0, field.find('\0'));
    return field.find_first_not_of('\0', named.size()) == std::string::npos &&
           Is_path_game_id(named, game_id);
}

} // namespace

namespace {

// The header's checks and the checksum of the packed state: nullptr and the version and state size
// when they hold, else the reason.
const char* Check_file(const std::string& bytes, const std::string& game_id, uint32_t* version,
                       uint32_t* size) {
    const char* broken = Refused(BROKEN);
    // a file cut inside the magic is still a save of ours, broken
    if (std::memcmp(bytes.data(), MAGIC, std::min(bytes.size(), sizeof MAGIC)) != 0)
        return Refused(NOT_A_SAVE);
    if (bytes.size() < HEADER) return broken;
    *version = Get_u32(bytes, 8), *size = Get_u32(bytes, 16);
    uint32_t packed = Get_u32(bytes, 12);
    if (*version > VERSION) return Refused(NEWER);
    if (!Same_game(bytes.substr(24, ID_SIZE), game_id)) return Refused(OTHER_GAME);
    if (*version == 0 || packed != bytes.size() - HEADER || *size > STATE_MAX) return broken;
    if (crc32(0, (const Bytef*)bytes.data() + HEADER, packed) != Get_u32(bytes, 20)) return broken;
    return nullptr;
}

} // namespace

const char* Save_unpack(const std::string& bytes, const std::string& game_id, std::string* state) {
    uint32_t version = 0, size = 0;
    if (const char* why = Check_file(bytes, game_id, &version, &size)) return why;
    std::string unpacked(size, '\0');
    uLongf length = size;
    if (uncompress((Bytef*)unpacked.data(), &length, (const Bytef*)bytes.data() + HEADER,
                   bytes.size() - HEADER) != Z_OK ||
        length != size)
        return Refused(BROKEN);
    state->clear();
    if (version == VERSION)
        state->swap(unpacked);
    else if (!First_format_body(unpacked, state))
        return Refused(BROKEN);
    return nullptr;
}

const char* Save_unpack_front(const std::string& bytes, const std::string& game_id, size_t limit,
                              std::string* front) {
    uint32_t version = 0, size = 0;
    if (const char* why = Check_file(bytes, game_id, &version, &size)) return why;
    front->assign(std::min<size_t>(limit, version == VERSION ? size : 0), '\0');
    if (front->empty()) return nullptr;
    z_stream stream{};
    stream.next_in = (Bytef*)bytes.data() + HEADER;
    stream.avail_in = (uInt)(bytes.size() - HEADER);
    stream.next_out = (Bytef*)front->data();
    stream.avail_out = (uInt)front->size();
    int result = inflateInit(&stream);
    // the front is all that is wanted: the stream stops once it is full
    while (result == Z_OK && stream.avail_out > 0) result = inflate(&stream, Z_SYNC_FLUSH);
    bool full = stream.avail_out == 0;
    inflateEnd(&stream);
    return full ? nullptr : Refused(BROKEN);
}

namespace {

// The story now playing goes: its sounds stop, and the staged state and pictures take its place.
void Apply(Staged& st) {
    Audio_stop_all();
    for (const Surface_slot& slot : surface_slots) {
        Surface*& live = game.*slot.surface;
        Surface* saved = std::exchange(st.state.get()->*slot.surface, nullptr);
        if (saved && live) {
            // the live surface keeps its drawing state; its picture changes as a drawing would change it
            BitBlt(live, 0, 0, saved->width, saved->height, saved, 0, 0, SRCCOPY);
            Surface_destroy(saved);
        } else {
            Surface_destroy(live);
            live = saved;
        }
    }
    Copier copier{*st.state};
    Visit_fields(copier);
    if (game.bgm_playing == 1 && game.bgm_kind == MUSIC_MIDI) Com_restart_midi();
    if (game.bgm_playing == 1 && game.bgm_kind == MUSIC_MP3) Com_restart_mp3();
    if (game.se_playing == 1 && game.se_loop)
        PlaySound(game.se_path, nullptr, SND_FILENAME | SND_LOOP | SND_ASYNC);
}

} // namespace

std::string Save_fields(DWORD now) {
    Writer w{now, {}};
    Visit_fields(w);
    return w.body;
}

std::string_view Save_picture(const Surface_slot& slot) {
    const Surface* s = game.*slot.surface;
    if (!s || s->width != slot.width || s->height != slot.height) return {};
    return {(const char*)s->pixels, (size_t)s->width * s->height * 4};
}

std::string Save_state(DWORD now) {
    std::string body = Save_fields(now);
    for (const Surface_slot& slot : surface_slots)
        if (std::string_view pixels = Save_picture(slot); !pixels.empty())
            Put_entry(body, slot.name, pixels.data(), pixels.size());
    return body;
}

std::string Save_encode(const std::string& game_id, DWORD now) {
    // the preview first, so that a listing inflates no more than it
    return Save_pack(Preview_entries() + Save_state(now), game_id);
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

namespace {

// The staged story's place carried into its script as the file now holds it: the new text and place
// when it lands there, else the save's own copy as it was.
Followed Follow_staged(GameState& s) {
    Followed f = Script_follow(s.script_name, s.script_buf, s.cur);
    if (f.how == Follow::LANDED) {
        std::memcpy(s.script_buf, f.script.data(), sizeof s.script_buf);
        s.cur = f.cur;
    }
    return f;
}

// The save file staged whole and followed into its script: nullptr, else the reason.
const char* Stage_file(const std::string& bytes, const std::string& game_id, DWORD now, Staged* staged,
                       Followed* f) {
    std::string state;
    if (const char* why = Save_unpack(bytes, game_id, &state)) return why;
    if (!Stage(state, now, staged)) return Refused(BROKEN);
    *f = Follow_staged(*staged->state);
    return nullptr;
}

} // namespace

const char* Save_restore(const std::string& bytes, const std::string& game_id, DWORD now, bool* kept) {
    Staged staged;
    Followed f;
    if (const char* why = Stage_file(bytes, game_id, now, &staged, &f)) return why;
    Apply(staged);
    if (kept) *kept = f.how == Follow::KEPT;
    return nullptr;
}

const char* Save_follow(const std::string& bytes, const std::string& game_id, Followed* followed) {
    Staged staged;
    return Stage_file(bytes, game_id, GetTickCount(), &staged, followed);
}

std::string Save_game(const std::string& bytes) {
    if (bytes.size() < HEADER || bytes.compare(0, sizeof MAGIC, MAGIC, sizeof MAGIC) != 0) return "";
    std::string id = bytes.substr(24, ID_SIZE);
    return id.substr(0, id.find('\0'));
}

const char* Refusal_in_english(const char* why) {
    for (const auto& r : REFUSALS)
        if (std::strcmp(why, Sjis(r.reader)) == 0) return r.author;
    return "refused";
}

const char* Restore_state(const std::string& state, DWORD now, Followed* follow) {
    Staged staged;
    if (!Stage(state, now, &staged)) return Refused(BROKEN);
    if (follow && (*follow = Follow_staged(*staged.state)).how == Follow::KEPT)
        return Sjis("この場所が新しい文に見つかりません");
    Apply(staged);
    return nullptr;
}
