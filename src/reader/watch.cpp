// The game's txt/ folder watched with inotify: each file named by an event changed as of its reading,
// settled once its burst of events is over; and a small thread that only wakes the loop when one comes.
#include "keys.h"
#include "live_edit.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <system_error>
#include <thread>

namespace {

// an editor writes in place (closed after a write), by rename (moved in) or anew (made); or takes a file
// away; and the folder itself may go
constexpr uint32_t EVENTS = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                            IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t FOLDER_GONE = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

int notify = -1; // the inotify handle, read without waiting
int stop = -1;   // an eventfd the waker ends at
int wakes = -1;  // the waker's epoll over both
std::thread waker;
std::map<std::string, DWORD> changed; // each file's last event, as its tick; "" when news were lost

// Posts WM_NULL to the window at each event that comes: the loop reads the events itself, between turns.
// Edge-triggered, so that each event wakes it once, and events it has not read yet never spin the thread.
void Wake(Window* window) {
    epoll_event e{};
    for (;;) {
        int n = epoll_wait(wakes, &e, 1, -1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || e.data.fd == stop) return;
        Post_from_any_thread(window, WM_NULL, 0, 0);
    }
}

bool Add_to_wakes(int fd, uint32_t events) {
    epoll_event e{};
    e.events = events;
    e.data.fd = fd;
    return epoll_ctl(wakes, EPOLL_CTL_ADD, fd, &e) == 0;
}

void Close(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// One buffer of events; false when one tells that the folder itself went.
bool Take_events(const char* buf, size_t size) {
    for (size_t at = 0; at + sizeof(inotify_event) <= size;) {
        inotify_event e;
        std::memcpy(&e, buf + at, sizeof e);
        const char* name = buf + at + sizeof e;
        at += sizeof e + e.len;
        if (e.mask & FOLDER_GONE) return false;
        if (at > size) break;
        if (e.mask & IN_Q_OVERFLOW)
            changed[""] = GetTickCount();
        else if (e.len > 0)
            changed[std::string(name, strnlen(name, e.len))] = GetTickCount();
    }
    return true;
}

} // namespace

bool Watch_start(const std::string& folder, std::string* why) {
    notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    stop = eventfd(0, EFD_CLOEXEC);
    wakes = epoll_create1(EPOLL_CLOEXEC);
    if (notify >= 0 && stop >= 0 && wakes >= 0 && inotify_add_watch(notify, folder.c_str(), EVENTS) >= 0 &&
        Add_to_wakes(notify, EPOLLIN | EPOLLET) && Add_to_wakes(stop, EPOLLIN))
        return true;
    *why = "cannot watch " + folder + "/: " + std::strerror(errno);
    Watch_end();
    return false;
}

bool Watch_wake(Window* window, std::string* why) {
    try {
        waker = std::thread(Wake, window);
        return true;
    } catch (const std::system_error& e) {
        *why = std::string("cannot start the thread that wakes the loop: ") + e.what();
        return false;
    }
}

bool Watch_read() {
    alignas(inotify_event) char buf[4096];
    for (;;) {
        ssize_t n = read(notify, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true; // all read
        if (!Take_events(buf, (size_t)n)) return false;
    }
}

bool Watch_take(std::string* name) {
    auto settled = std::find_if(changed.begin(), changed.end(),
                                [](const auto& file) { return Until(file.second, WATCH_SETTLE) == 0; });
    if (settled == changed.end()) return false;
    *name = settled->first;
    changed.erase(settled);
    return true;
}

DWORD Watch_due() {
    DWORD due = INFINITE;
    for (const auto& [name, tick] : changed) due = std::min(due, Until(tick, WATCH_SETTLE));
    return due;
}

void Watch_end() {
    if (waker.joinable()) {
        uint64_t one = 1;
        while (write(stop, &one, sizeof one) < 0 && errno == EINTR) {
        }
        waker.join();
    }
    Close(wakes);
    Close(stop);
    Close(notify);
    changed.clear();
}
