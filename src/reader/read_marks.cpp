// Read marks: a sorted list of page keys in memory, read once at the start and written whole (a
// temporary file renamed over the old one) after new marks: at most every READ_MARKS_WRITE_EVERY ms,
// and at the end. The file: "VRMK", the version, a hash of the game's id, the count, the keys;
// every number little-endian.
#include "read_marks.h"
#include "slots.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char MAGIC[4] = {'V', 'R', 'M', 'K'};
constexpr uint32_t VERSION = 1;
constexpr size_t HEADER = 4 + 4 + 8 + 4;
constexpr uint64_t FNV_START = 1469598103934665603ull;

std::vector<uint64_t> marks; // sorted
bool unwritten = false;      // a mark came since the last write
DWORD written_tick = 0;      // the last write, or the start

uint64_t Fnv(uint64_t hash, const void* bytes, size_t length) {
    for (size_t i = 0; i < length; i++) hash = (hash ^ ((const unsigned char*)bytes)[i]) * 1099511628211ull;
    return hash;
}

void Put(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; i++) *out += (char)(value >> (8 * i));
}

uint64_t Get(const std::string& in, size_t at, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; i++) value |= (uint64_t)(unsigned char)in[at + i] << (8 * i);
    return value;
}

void Write() {
    std::string path = Read_marks_path(reader.game_id);
    Tick_mark(&written_tick);
    if (path.empty() || !Make_dirs(reader.read_marks_dir)) return;
    unwritten = !Write_whole(path, Read_marks_encode(reader.game_id, marks));
}

// The script's file name as its key starts: a script named .\txt\a.tda once and txt/A.tda once is one.
uint64_t Name_hash() {
    const char* name = game.script_name;
    for (const char* at = name; *at; at++)
        if (*at == '/' || *at == '\\') name = at + 1;
    uint64_t hash = FNV_START;
    for (const char* at = name; *at; at++) {
        char c = *at >= 'A' && *at <= 'Z' ? (char)(*at - 'A' + 'a') : *at;
        hash = Fnv(hash, &c, 1);
    }
    return Fnv(hash, "", 1);
}

int Script_byte(int at) { return at < SCRIPT_LAST ? game.script_buf[at] : SCRIPT_END_MARK; }

bool Is_name_byte(int b) {
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || b == '_';
}

// The value now of the flag whose number follows at (after blanks): 0 for no flag.
unsigned char Flag_at(int at) {
    while (Script_byte(at) == ' ' || Script_byte(at) == '\t') at++;
    int n = 0;
    for (int digits = 0; digits < 4 && Script_byte(at) >= '0' && Script_byte(at) <= '9'; digits++, at++)
        n = n * 10 + Script_byte(at) - '0';
    return n < FLAG_COUNT && game.flags[n] == 1;
}

} // namespace

uint64_t Page_key() {
    uint64_t hash = Name_hash();
    int at = game.cur, end = std::min(SCRIPT_LAST, game.cur + PAGE_KEY_BYTES);
    while (at < end && Script_byte(at) != SCRIPT_END_MARK) {
        if (Script_byte(at) != '#') {
            hash = Fnv(hash, game.script_buf + at++, 1);
            continue;
        }
        int name = at + 1;
        for (at = name; at < end && Is_name_byte(Script_byte(at)); at++) {
        }
        std::string word((const char*)game.script_buf + name, (size_t)(at - name));
        hash = Fnv(hash, game.script_buf + name - 1, (size_t)(at - name + 1));
        if (word == "wait" || word == "w" || word == "select3" || word == "start_menu" || word == "halt")
            break;
        if (word == "if_flag") {
            unsigned char on = Flag_at(at);
            hash = Fnv(hash, &on, 1);
        }
        if (word != "jump" && word != "file_change") continue;
        // where it leaves for is part of the page
        while (at < end && Script_byte(at) != '\r' && Script_byte(at) != '\n' &&
               Script_byte(at) != SCRIPT_END_MARK)
            hash = Fnv(hash, game.script_buf + at++, 1);
        break;
    }
    return hash ? hash : 1;
}

std::string Read_marks_path(const std::string& game_id) {
    return reader.read_marks_dir.empty() || game_id.empty() ? "" : reader.read_marks_dir + "/" + game_id;
}

std::string Read_marks_home() {
    std::string base = Xdg_dir("XDG_DATA_HOME", ".local/share");
    return base.empty() ? "" : base + "/veltrane/read";
}

void Read_marks_start() {
    marks.clear();
    unwritten = false;
    Tick_mark(&written_tick);
    std::string path = Read_marks_path(reader.game_id), bytes;
    bool missing = false;
    if (!path.empty() && Read_whole(path, HEADER + 8 * READ_MARKS_MOST, &bytes, &missing) &&
        !Read_marks_decode(bytes, reader.game_id, &marks) &&
        !Read_marks_decode(bytes, reader.path_game_id, &marks))
        marks.clear();
}

bool Read_marks_has(uint64_t key) { return key == 0 || std::binary_search(marks.begin(), marks.end(), key); }

void Read_marks_add(uint64_t key) {
    auto at = std::lower_bound(marks.begin(), marks.end(), key);
    if (key == 0 || (at != marks.end() && *at == key) || marks.size() >= READ_MARKS_MOST) return;
    marks.insert(at, key);
    unwritten = true;
    if (Tick_elapsed(written_tick, READ_MARKS_WRITE_EVERY)) Write();
}

void Read_marks_end() {
    if (unwritten) Write();
}

std::string Read_marks_encode(const std::string& game_id, const std::vector<uint64_t>& keys) {
    std::string out(MAGIC, sizeof MAGIC);
    Put(&out, VERSION, 4);
    Put(&out, Fnv(FNV_START, game_id.data(), game_id.size()), 8);
    Put(&out, keys.size(), 4);
    for (uint64_t key : keys) Put(&out, key, 8);
    return out;
}

bool Read_marks_decode(const std::string& bytes, const std::string& game_id, std::vector<uint64_t>* keys) {
    if (bytes.size() < HEADER || std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0) return false;
    uint64_t count = Get(bytes, 16, 4);
    if (Get(bytes, 4, 4) != VERSION || Get(bytes, 8, 8) != Fnv(FNV_START, game_id.data(), game_id.size()) ||
        count > READ_MARKS_MOST || bytes.size() != HEADER + 8 * count)
        return false;
    keys->clear();
    for (size_t i = 0; i < count; i++) {
        uint64_t key = Get(bytes, HEADER + 8 * i, 8);
        // sorted and distinct, as written: anything else was not
        if (key == 0 || (!keys->empty() && key <= keys->back())) return false;
        keys->push_back(key);
    }
    return true;
}
