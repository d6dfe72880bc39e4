// Files written whole or not at all: a temporary file beside the target, flushed, renamed over it,
// and the folder flushed, so that a crash or a full disk mid-write leaves the old file as it was.
#include "backend/backend.h"
#include "desktop_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool Write_all(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += (size_t)n;
    }
    return true;
}

// A renamed file's new name is on disk only once its folder is flushed too.
bool Sync_folder_of(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

} // namespace

bool Write_whole(const std::string& path, const std::string& bytes, unsigned mode) {
    std::string temporary = path + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, (mode_t)mode) == 0 && Write_all(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    Window_backend* b = Window_service();
    return Sync_folder_of(path) && (!b || b->persist());
}
