#pragma once
// Starting the real programs from a test, as a user would from a shell, and making sure none of
// them outlives the test on any way out: a crashed or killed test process takes its children
// with it (PR_SET_PDEATHSIG), and a test that ends normally stops them in the destructor.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace ondrix::test {

using ProcessClock = std::chrono::steady_clock;

inline std::optional<std::string> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

// A started program. It gets SIGKILL should the test process die; otherwise the destructor
// asks it to stop, waits a moment, kills it if need be, and reaps it.
class ChildProcess {
public:
    // Standard output and error go to `log`; `passFd` (if not -1) becomes the child's fd 3.
    ChildProcess(const std::vector<std::string>& args, const std::filesystem::path& log, int passFd = -1) {
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (logFd < 0) throw std::runtime_error("cannot create " + log.string());
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            dup2(logFd, STDOUT_FILENO);
            dup2(logFd, STDERR_FILENO);
            // dup2 onto itself would keep the close-on-exec flag.
            if (passFd == 3) fcntl(3, F_SETFD, 0);
            else if (passFd >= 0) dup2(passFd, 3);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(logFd);
        if (pid_ < 0) throw std::runtime_error("cannot start " + args[0]);
    }
    ~ChildProcess() {
        if (status_) return;
        kill(pid_, SIGTERM);
        if (WaitForExit(std::chrono::seconds(2))) return;
        kill(pid_, SIGKILL);
        WaitForExit(std::chrono::hours(1));
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Once the program has been reaped its process id may belong to someone else: no signal then.
    void Signal(int number) {
        if (!status_) kill(pid_, number);
    }

    // The wait status (for WIFEXITED and friends; -1 if somebody else reaped the program), or
    // nullopt if the program still runs when the time is up. Answers the same status again once
    // the program has been reaped.
    std::optional<int> WaitForExit(ProcessClock::duration timeout) {
        for (const auto give = ProcessClock::now() + timeout; !status_;) {
            int status = 0;
            const pid_t reaped = waitpid(pid_, &status, WNOHANG);
            if (reaped == pid_ || (reaped < 0 && errno != EINTR)) {
                status_ = reaped == pid_ ? status : -1;
                break;
            }
            if (ProcessClock::now() >= give) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A wait status as a shell reports it: the exit code, or 128 plus the signal that ended it.
inline int ExitCode(int status) {
    if (status < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Runs a command through the shell and answers what it printed, or nullopt if it failed.
inline std::optional<std::string> Output(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string text;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    return pclose(pipe) == 0 ? std::optional<std::string>(text) : std::nullopt;
}

inline bool WaitFor(const std::function<bool()>& done, ProcessClock::duration timeout) {
    for (const auto give = ProcessClock::now() + timeout; ProcessClock::now() < give;
         std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (done()) return true;
    return done();
}

// The first line written to `fd` within the time, without its newline.
inline std::string ReadLine(int fd, std::chrono::milliseconds timeout) {
    std::string line;
    for (const auto give = ProcessClock::now() + timeout; ProcessClock::now() < give;) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        char c = 0;
        if (read(fd, &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    return line;
}

// The whole file, or empty if it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Hard links where the file system allows, copies elsewhere.
inline void PlaceProgram(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code linked;
    std::filesystem::create_hard_link(from, to, linked);
    if (linked) std::filesystem::copy_file(from, to);
}

// Whether the virtual MPU that writes `mpuLog` has made `link` (its ports/COMn) point at the
// device it serves. It announces that device as its first line once the link is in place; a link
// left behind by a killed predecessor still names the old device, so its mere presence says
// nothing.
inline bool PortLinkedBy(const std::filesystem::path& link, const std::filesystem::path& mpuLog) {
    const std::string log = ReadFile(mpuLog);
    const size_t newline = log.find('\n');
    if (newline == std::string::npos || newline == 0) return false;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(link, error);
    return !error && target == log.substr(0, newline);
}

}  // namespace ondrix::test
