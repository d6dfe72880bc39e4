// The single-instance lock: an abstract Unix socket whose name only one process can bind, freed by
// the kernel when that process ends, however it ends.
#include "sdl_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

// Whose copies see one another: this user's on this display. Other users, and this user's
// other sessions, keep their own. SDL prefers X11 where both servers are named.
std::string Scope() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const char* x11 = std::getenv("DISPLAY");
    bool wayland = !x11 || (driver && std::strncmp(driver, "wayland", 7) == 0);
    const char* display = wayland ? std::getenv("WAYLAND_DISPLAY") : x11;
    return std::to_string(getuid()) + ':' + (display ? display : "");
}

// Binds an abstract socket named after the scope and the key: its fd, -2 when another process
// holds it, -1 on error.
int Bind_key(const std::string& key) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string name = "veltrane-instance:" + Scope() + ':' + key;
    size_t len = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), len);
    if (bind(fd, (sockaddr*)&addr, (socklen_t)(offsetof(sockaddr_un, sun_path) + 1 + len)) == 0) return fd;
    int err = errno;
    close(fd);
    return err == EADDRINUSE ? -2 : -1;
}

} // namespace

Sdl_instance::~Sdl_instance() {
    if (fd >= 0) close(fd);
}

bool Sdl_instance::running(const std::string& key) {
    int other = Bind_key(key);
    if (other >= 0) close(other);
    return other == -2;
}

bool Sdl_instance::claim(const std::string& key) {
    if (fd < 0) fd = Bind_key(key);
    return fd >= 0;
}
