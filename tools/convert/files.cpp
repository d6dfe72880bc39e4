// The converter's input read whole, and its output written whole (Write_whole), as the reader
// writes its saves.
#include "files.h"
#include "desktop_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

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
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT && Write_whole(path, bytes, New_file_mode());
    if (!S_ISREG(st.st_mode)) return Write_in_place(path, bytes);
    // a file the user may not write stays so, though its folder would let it be replaced
    return access(path.c_str(), W_OK) == 0 && Write_whole(Link_target(path), bytes, st.st_mode & 07777);
}
