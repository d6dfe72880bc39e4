// The text out's lines, and the file, pipe or stdout they go to: written as each record comes, never
// waiting for a reader, so that a tool that stops reading never stops the story.
#include "text_out.h"
#include "reader.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Out {
    std::string path;
    bool pipe = false;  // a named pipe: opened again whenever a reader comes
    int fd = -1;        // -1 while there is nowhere to write
    bool owned = false; // closed at the end (stdout is not)
    std::string held;   // what a full pipe has not taken yet of the last line
    bool told_unread = false, told_full = false, told_failed = false;
};
Out out;

void Say(bool& told, const std::string& what) {
    if (told) return;
    told = true;
    std::fprintf(stderr, "%s: --text-out %s: %s\n", reader.program, out.path.c_str(), what.c_str());
}

void Escaped(std::string& line, const std::string& cp932) {
    std::string utf8 = Cp932_to_utf8(cp932.data(), cp932.size());
    for (size_t i = 0; i < utf8.size(); i++) {
        char c = utf8[i];
        if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue; // CR LF is one break
        if (c == '\n' || c == '\r')
            line += "\\n";
        else if (c == '\t')
            line += "\\t";
        else if (c == '\\')
            line += "\\\\";
        else
            line += c;
    }
}

// A named pipe is written once a reader has it open; until then records are dropped.
bool Ready() {
    if (out.fd >= 0 || !out.pipe) return out.fd >= 0;
    out.fd = open(out.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    out.owned = out.fd >= 0;
    if (out.fd < 0) Say(out.told_unread, "no reader has the pipe open: records are dropped until one comes");
    return out.fd >= 0;
}

// The reader went away (or the disk refused): a named pipe waits for the next reader; anything
// else is written no more.
void Lost(int error) {
    if (out.owned) close(out.fd);
    out.fd = -1;
    out.held.clear();
    if (!out.pipe)
        Say(out.told_failed, std::string("records can no longer be written: ") + std::strerror(error));
}

// What is held, written as far as the file takes it now: true when all of it went.
bool Flush() {
    while (!out.held.empty() && out.fd >= 0) {
        ssize_t n = write(out.fd, out.held.data(), out.held.size());
        if (n > 0) {
            out.held.erase(0, (size_t)n);
        } else if (n < 0 && errno == EAGAIN) {
            return false;
        } else if (n < 0 && errno != EINTR) {
            Lost(errno);
        }
    }
    return out.held.empty();
}

// Stdout that is a pipe or a socket is written without waiting, as a named pipe is.
void Use_stdout() {
    struct stat st {};
    out.fd = STDOUT_FILENO;
    if (fstat(out.fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)))
        fcntl(out.fd, F_SETFL, fcntl(out.fd, F_GETFL) | O_NONBLOCK);
}

} // namespace

std::string Text_out_line(const Record& record) {
    static const char* const kinds[] = {"page", "choice", "chose", "box"};
    std::string line = kinds[(int)record.kind];
    for (const std::string& field : record.fields) {
        line += '\t';
        Escaped(line, field);
    }
    return line + '\n';
}

bool Text_out_open(const std::string& path, std::string* why) {
    Text_out_end();
    out = Out{};
    out.path = path;
    // a reader that leaves the pipe is an error of the write, never the end of the program
    std::signal(SIGPIPE, SIG_IGN);
    if (path == "-") {
        Use_stdout();
        return true;
    }
    struct stat st {};
    out.pipe = stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
    if (!out.pipe) out.fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    out.owned = out.fd >= 0;
    if (out.pipe || out.fd >= 0) return true;
    *why = path + ": " + std::strerror(errno);
    return false;
}

void Text_out_record(const Record& record) {
    if (out.path.empty() || !Ready()) return;
    bool room = Flush();
    if (out.fd < 0) return;
    if (!room) return Say(out.told_full, "the reader is not keeping up: records are dropped");
    out.held = Text_out_line(record);
    Flush();
}

void Text_out_end() {
    if (out.path.empty()) return;
    Flush();
    if (out.owned) close(out.fd);
    out = Out{};
}
