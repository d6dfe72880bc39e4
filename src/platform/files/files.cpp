// Game-folder paths as scripts write them, found on a case-sensitive, UTF-8 file system.
#include "backend/backend.h"
#include "backend/backend_hooks.h"
#include "cp932.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The entry of dir whose name equals name but for ASCII letter case; empty when none does.
std::string Entry_ignoring_case(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    std::string found;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

// Walks the path a component at a time, taking each as it is or else in another letter case.
bool Resolve(const std::string& path, std::string* out) {
    if (Exists(path)) {
        *out = path;
        return true;
    }
    std::string built;
    size_t at = 0;
    if (!path.empty() && path[0] == '/') {
        built = "/";
        at = 1;
    }
    while (at <= path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(at, end - at);
        at = end + 1;
        if (part.empty()) continue;
        std::string joined = built.empty() || built == "/" ? built + part : built + "/" + part;
        if (!Exists(joined) && part != "." && part != "..") {
            std::string match = Entry_ignoring_case(built, part);
            if (match.empty()) return false;
            joined = built.empty() || built == "/" ? built + match : built + "/" + match;
        }
        built = joined;
    }
    *out = built;
    return true;
}

} // namespace

std::string Game_file_path(const char* path) {
    std::string raw = path ? path : "";
    // 0x5C is also the second byte of some two-byte characters ("表"), which stay as they are
    for (size_t i = 0; i < raw.size(); i++) {
        if (Cp932_is_lead((unsigned char)raw[i]) && i + 1 < raw.size())
            i++;
        else if (raw[i] == '\\')
            raw[i] = '/';
    }
    std::string found;
    // an empty name resolves to no path at all, which names nothing
    bool exists = (Resolve(raw, &found) || Resolve(Cp932_to_utf8(raw.c_str()), &found)) && !found.empty();
    if (!exists)
        found = Cp932_to_utf8(raw.c_str());
    else if (Window_backend* b = Window_service())
        b->bring_file(found);
    if (Backend_hooks* hooks = Current_hooks()) hooks->file_sought(found, exists);
    return found;
}

FILE* Game_fopen(const char* path) {
    std::string real = Game_file_path(path);
    // only a regular file is a file of the game: a folder, a device that never ends (/dev/zero)
    // or a pipe that would block the open until a writer comes is none
    int fd = open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    FILE* f = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!f) {
        close(fd);
        errno = EINVAL; // something is there, but no file of the game
    }
    return f;
}
