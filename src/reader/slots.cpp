// The save slots and the reader's folders. A slot's file is written whole (Write_whole), so that a
// crash or a full disk mid-write leaves the old save as it was.
#include "slots.h"
#include "save_format.h"
#include "save_preview.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string Slot_name(int slot) { return (slot == 0 ? std::string("quick") : std::to_string(slot)) + ".sav"; }

std::string Slot_path(const std::string& dir, int slot) { return dir + "/" + Slot_name(slot); }

// A slot's file, a dot and the six letters or digits mkostemp puts in place of Write_whole's XXXXXX.
bool Is_slot_temporary(const std::string& name) {
    if (name.size() < 7 || name[name.size() - 7] != '.') return false;
    for (size_t at = name.size() - 6; at < name.size(); at++) {
        char c = name[at];
        if (!(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z')) return false;
    }
    for (int slot = 0; slot < SAVE_SLOTS; slot++)
        if (name.compare(0, name.size() - 7, Slot_name(slot)) == 0) return true;
    return false;
}

// A save cut short (the program killed mid-write) leaves its temporary file, which nothing else
// would ever remove. Only the slots' own go: any other file in the folder is not ours to touch.
void Remove_cut_saves(const std::string& dir) {
    DIR* folder = opendir(dir.c_str());
    if (!folder) return;
    while (const dirent* entry = readdir(folder))
        if (Is_slot_temporary(entry->d_name)) unlink((dir + "/" + entry->d_name).c_str());
    closedir(folder);
}

} // namespace

bool Make_dirs(const std::string& dir) {
    for (size_t at = 1; at <= dir.size(); at++) {
        if (at < dir.size() && dir[at] != '/') continue;
        std::string part = dir.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Read_whole(const std::string& path, size_t limit, std::string* out, bool* missing) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    *missing = fd < 0 && errno == ENOENT;
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (size_t)st.st_size <= limit;
    if (ok) out->resize((size_t)st.st_size);
    for (size_t done = 0; ok && done < out->size();) {
        ssize_t n = read(fd, out->data() + done, out->size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        done += ok ? (size_t)n : 0;
    }
    close(fd);
    return ok;
}

std::string Xdg_dir(const char* variable, const char* fallback) {
    const char* set = std::getenv(variable);
    if (set && set[0] == '/') return set;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/" + fallback : "";
}

std::string Save_dir(const std::string& game_id) {
    std::string base = Xdg_dir("XDG_DATA_HOME", ".local/share");
    return base.empty() || game_id.empty() ? "" : base + "/veltrane/saves/" + game_id;
}

std::string Game_id(const std::string& name) {
    std::string id = name.substr(0, 40);
    for (char& c : id)
        if (!std::isalnum((unsigned char)c) && c != '-' && c != '_' && c != '.') c = '_';
    return id.empty() || id[0] == '.' ? "game" + id : id;
}

std::string Folder_game_id(const std::string& folder) {
    return Game_id(folder.substr(folder.find_last_of('/') + 1));
}

std::string Path_game_id(const std::string& folder) {
    // the folder's own name, and a hash of its whole path, to tell apart folders of one name
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : folder) hash = (hash ^ c) * 1099511628211ull;
    char tail[24];
    std::snprintf(tail, sizeof tail, "-%016llx", (unsigned long long)hash);
    return Folder_game_id(folder) + tail;
}

bool Is_path_game_id(const std::string& id, const std::string& game_id) {
    if (id.size() != game_id.size() + 17 || id.compare(0, game_id.size(), game_id) != 0 ||
        id[game_id.size()] != '-')
        return false;
    return std::all_of(id.end() - 16, id.end(), [](char c) {
        return std::isxdigit((unsigned char)c) && !std::isupper((unsigned char)c);
    });
}

void Adopt_path_keyed(const std::string& from, const std::string& to) {
    struct stat st;
    if (!from.empty() && !to.empty() && stat(to.c_str(), &st) != 0 && stat(from.c_str(), &st) == 0)
        std::rename(from.c_str(), to.c_str());
}

const char* Save_to_slot(int slot) {
    std::string dir = Save_dir(reader.game_id);
    if (dir.empty() || !Make_dirs(dir)) return Sjis("保存先のフォルダが作れません");
    Remove_cut_saves(dir);
    std::string bytes = Save_encode(reader.game_id, GetTickCount());
    if (bytes.empty() || !Write_whole(Slot_path(dir, slot), bytes)) return Sjis("保存できませんでした");
    return nullptr;
}

const char* Restore_slot(int slot, bool* kept) {
    std::string dir = Save_dir(reader.game_id), bytes;
    bool missing = false;
    if (dir.empty() || !Read_whole(Slot_path(dir, slot), SAVE_MAX, &bytes, &missing))
        return missing || dir.empty() ? Sjis("セーブデータがありません") : Sjis("セーブデータが読めません");
    return Save_restore(bytes, reader.game_id, GetTickCount(), kept);
}

Slot_view Read_slot(int slot) {
    Slot_view view;
    std::string dir = Save_dir(reader.game_id), bytes;
    if (dir.empty()) return view;
    std::string path = Slot_path(dir, slot);
    struct stat st {};
    view.used = lstat(path.c_str(), &st) == 0;
    if (!view.used) return view;
    bool missing = false;
    if (!Read_whole(path, SAVE_MAX, &bytes, &missing))
        view.broken = Sjis("セーブデータが読めません");
    else
        view.broken = Read_preview(bytes, reader.game_id, &view.preview);
    if (view.preview.time == 0) view.preview.time = (int64_t)st.st_mtime;
    return view;
}

int Newest_slot() {
    std::string dir = Save_dir(reader.game_id);
    int newest = -1;
    timespec when{};
    for (int slot = 0; slot < SAVE_SLOTS && !dir.empty(); slot++) {
        struct stat st {};
        if (stat(Slot_path(dir, slot).c_str(), &st) != 0) continue;
        const timespec& t = st.st_mtim;
        if (newest < 0 || t.tv_sec > when.tv_sec || (t.tv_sec == when.tv_sec && t.tv_nsec > when.tv_nsec))
            newest = slot, when = t;
    }
    return newest;
}

bool Delete_slot(int slot) {
    std::string dir = Save_dir(reader.game_id);
    return !dir.empty() && (unlink(Slot_path(dir, slot).c_str()) == 0 || errno == ENOENT);
}

std::string Slot_label(int slot) {
    return slot == 0 ? Sjis("クイックスロット") : Sjis("スロット") + std::to_string(slot);
}
