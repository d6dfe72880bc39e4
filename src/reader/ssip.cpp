// The speech service's protocol: lines ended by CR LF; an answer "NNN-part" ... "NNN text", an
// event of a message (7xx) the same way, its first part the message's number.
#include "ssip.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr size_t LONGEST_LINE = 65536; // a line past this is no speech service's
constexpr int SPEAKING_DATA = 230, QUEUED = 225, EVENT_END = 702, EVENT_CANCELED = 703;

// Where the service listens, as its own clients find it.
bool Socket_path(std::string* path, std::string* why) {
    if (const char* address = std::getenv("SPEECHD_ADDRESS"); address && *address) {
        std::string a = address;
        if (a.rfind("unix_socket:", 0) != 0) {
            *why = "SPEECHD_ADDRESS " + a + ": only a unix_socket:PATH address is known";
            return false;
        }
        *path = a.substr(12);
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* home = std::getenv("HOME");
    if (runtime && *runtime)
        *path = std::string(runtime) + "/speech-dispatcher/speechd.sock";
    else if (home && *home)
        *path = std::string(home) + "/.cache/speech-dispatcher/speechd.sock";
    else
        *why = "neither SPEECHD_ADDRESS, XDG_RUNTIME_DIR nor HOME tells where the speech service is";
    return !path->empty();
}

} // namespace

bool Ssip::connect(std::string* why) {
    close();
    std::string path;
    if (!Socket_path(&path, why)) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        *why = path + ": not a socket's path";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, (const sockaddr*)&address, sizeof address) == 0) return true;
    *why = path + ": " + std::strerror(errno);
    close();
    return false;
}

void Ssip::close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    out.clear();
    in.clear();
    first.clear();
    expected.clear();
    unanswered = cancelled = 0;
    done_id = last_id;
}

void Ssip::command(const std::string& line) {
    out += line + "\r\n";
    expected.push_back(Answer::ANY);
}

void Ssip::speak(const std::string& text) {
    out += "SPEAK\r\n";
    expected.push_back(Answer::SPEAK);
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find('\n', at), text.size());
        // a line that begins with a dot has it doubled, so that no line of text ends the message
        out += (text[at] == '.' ? "." : "") + text.substr(at, end - at) + "\r\n";
        at = end + 1;
    }
    out += ".\r\n";
    expected.push_back(Answer::TEXT);
    unanswered++;
}

void Ssip::cancel() {
    command("CANCEL SELF");
    cancelled = unanswered;
    done_id = last_id;
}

void Ssip::answered(int code, std::string* why, bool* ok) {
    Answer answer = expected.front();
    expected.pop_front();
    if (answer == Answer::SPEAK && code != SPEAKING_DATA) {
        *why = "the speech service refused a message (" + std::to_string(code) + ")";
        *ok = false;
    }
    if (answer != Answer::TEXT) return;
    unanswered--;
    unsigned long id = code == QUEUED ? std::strtoul(first.c_str(), nullptr, 10) : 0;
    if (id > last_id) last_id = id;
    if (cancelled > 0 && id > done_id) done_id = id;
    if (cancelled > 0) cancelled--;
}

bool Ssip::take(const std::string& line, std::string* why) {
    bool digits = line.size() >= 4 && line[0] >= '0' && line[0] <= '9' && line[1] >= '0' && line[1] <= '9' &&
                  line[2] >= '0' && line[2] <= '9' && (line[3] == '-' || line[3] == ' ');
    if (!digits) {
        *why = "the speech service answered what is not its protocol";
        return false;
    }
    if (line[3] == '-') {
        if (first.empty()) first = line.substr(4);
        return true;
    }
    int code = std::atoi(line.substr(0, 3).c_str());
    bool ok = true;
    if (code / 100 == 7) {
        unsigned long id = std::strtoul(first.c_str(), nullptr, 10);
        if ((code == EVENT_END || code == EVENT_CANCELED) && id > done_id) done_id = id;
    } else if (!expected.empty()) {
        answered(code, why, &ok);
    }
    first.clear();
    return ok;
}

bool Ssip::send_out(std::string* why) {
    while (!out.empty()) {
        ssize_t n = send(fd, out.data(), out.size(), MSG_NOSIGNAL);
        if (n > 0) out.erase(0, (size_t)n);
        if (n < 0 && errno == EAGAIN) break;
        if (n < 0 && errno != EINTR) {
            *why = std::string("the speech service went away: ") + std::strerror(errno);
            return false;
        }
    }
    return true;
}

void Ssip::quit() {
    std::string why;
    if (fd < 0) return;
    command("QUIT");
    send_out(&why);
    close();
}

bool Ssip::turn(std::string* why) {
    if (fd < 0) return true;
    if (!send_out(why)) return false;
    char bytes[4096];
    for (;;) {
        ssize_t n = recv(fd, bytes, sizeof bytes, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n <= 0) {
            *why = n == 0 ? "the speech service closed the connection"
                          : std::string("the speech service went away: ") + std::strerror(errno);
            return false;
        }
        in.append(bytes, (size_t)n);
        for (size_t end; (end = in.find('\n')) != std::string::npos;) {
            std::string line = in.substr(0, end > 0 && in[end - 1] == '\r' ? end - 1 : end);
            in.erase(0, end + 1);
            if (!take(line, why)) return false;
        }
        if (in.size() > LONGEST_LINE) {
            *why = "the speech service answered what is not its protocol";
            return false;
        }
    }
    return true;
}
