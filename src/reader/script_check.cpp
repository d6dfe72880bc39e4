// veltrane-lint run on one script in a process of its own, its report read back through a pipe.
#include "live_edit.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace {

constexpr auto CHECK_TIME = std::chrono::seconds(10); // a check still running then is stopped
constexpr size_t REPORT_MAX = 1u << 20;               // bytes of report kept: a script has far fewer problems

bool Runnable(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The checker's output until it closes it; false when the time ran out first.
bool Read_report(int fd, std::string* out) {
    auto deadline = std::chrono::steady_clock::now() + CHECK_TIME;
    char chunk[4096];
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, (int)left.count());
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        out->append(chunk, std::min((size_t)n, REPORT_MAX - std::min(REPORT_MAX, out->size())));
    }
}

// Runs the checker with its output into a pipe; its id, or -1 when it could not be started.
pid_t Spawn(const std::string& checker, const std::string& shown, int out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    const char* argv[] = {checker.c_str(), "--script", shown.c_str(), nullptr};
    pid_t pid = -1;
    int failed = posix_spawn(&pid, checker.c_str(), &actions, nullptr, (char* const*)argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

} // namespace

bool Find_checker(std::string* path) {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self);
    std::string program = n > 0 && (size_t)n < sizeof self ? std::string(self, (size_t)n) : "";
    std::string beside = program.substr(0, program.rfind('/') + 1) + "veltrane-lint";
    if (!program.empty() && Runnable(beside)) return *path = beside, true;
    const char* dirs = std::getenv("PATH");
    std::istringstream in(dirs ? dirs : "");
    // the game folder is the working directory now: a relative entry would be looked for in it
    for (std::string dir; std::getline(in, dir, ':');)
        if (!dir.empty() && dir[0] == '/' && Runnable(dir + "/veltrane-lint"))
            return *path = dir + "/veltrane-lint", true;
    return false;
}

Script_check Check_script(const std::string& checker, const std::string& shown) {
    Script_check check;
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return check;
    pid_t pid = Spawn(checker, shown, out[1]);
    close(out[1]);
    bool ended = pid > 0 && Read_report(out[0], &check.report);
    close(out[0]);
    if (pid <= 0) return check;
    if (!ended) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // veltrane-lint ends with 1 when its report holds an error, with 0 when none does
    check.done = ended && WIFEXITED(status) && WEXITSTATUS(status) <= 1;
    std::istringstream lines(check.report);
    for (std::string line; std::getline(lines, line);)
        check.errors += line.find(": error: ") != std::string::npos;
    return check;
}
