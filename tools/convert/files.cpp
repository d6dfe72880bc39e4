// The converter's input read whole, and its output written through a temporary file and a rename,
// as the reader writes its saves.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

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

bool Replace(const std::string& path, mode_t mode, const std::string& bytes) {
    std::string temporary = path + ".XXXXXX";
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, mode) == 0 && Write_all(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    return Sync_folder_of(path);
}

// The file a symbolic link names, so that the link stays a link.
std::string Link_target(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    std::string target = real ? real : path;
    std::free(real);
    return target;
}

// What a new file gets from open: 0666 less the umask.
mode_t New_file_mode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool Write_in_place(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

bool Read_input(const std::string& name, std::string* bytes) {
    FILE* f = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
    if (!f) return false;
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes->append(buffer, n);
    bool ok = !std::ferror(f);
    if (f != stdin) std::fclose(f);
    return ok;
}

bool Write_output(const std::string& path, const std::string& bytes) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT && Replace(path, New_file_mode(), bytes);
    if (!S_ISREG(st.st_mode)) return Write_in_place(path, bytes);
    // a file the user may not write stays so, though its folder would let it be replaced
    return access(path.c_str(), W_OK) == 0 && Replace(Link_target(path), st.st_mode & 07777, bytes);
}
