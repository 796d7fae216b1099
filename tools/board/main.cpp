// ondrix-board: the demo firmware on an emulated Cortex-M3 board (QEMU's mps2-an385), its UART0
// on a pseudo-terminal for the scope.
//
// Prints the pseudo-terminal's path as the first line of stdout, then runs the board until
// SIGINT, SIGTERM or SIGHUP, and stops QEMU with it. Exit status: 0 after a signal, 1 on an
// error or when QEMU ends by itself, 2 on bad options.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/PortLink.h"
#include "platform/PortResolver.h"

namespace fs = std::filesystem;

namespace ondrix::board {
namespace {

constexpr const char* kQemu = "qemu-system-arm";
constexpr const char* kMachine = "mps2-an385";
// Beside the program, where the build puts them (mpu/boards/mps2-an385/CMakeLists.txt).
constexpr const char* kDemoFirmware = "board/ondrix-demo-board.elf";
constexpr const char* kFastDemoFirmware = "board/ondrix-demo-board-fast.elf";
// What QEMU prints on its standard output for a serial port given as "-serial pty".
constexpr const char* kPtyAnnouncement = "char device redirected to ";
// QEMU starts in a fraction of a second; a machine under load may take several.
constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr auto kStopTimeout = std::chrono::seconds(3);
// The demo firmware talks within milliseconds of reset; another one may not talk at all.
constexpr auto kFirstOutputTimeout = std::chrono::seconds(10);

// ---- Options ---------------------------------------------------------------------------------

struct ProgramOptions {
    std::string elf;       // empty: the demo firmware beside the program
    bool fast = false;     // the demo firmware built for a 100 us period
    std::string linkName;  // e.g. "COM1"; empty: no link
    bool help = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void PrintUsage(std::ostream& out) {
    out << "Usage: ondrix-board [--link COMn] [--fast | --elf FIRMWARE]\n"
           "Runs a firmware on an emulated Cortex-M3 board (QEMU's mps2-an385) whose UART0 serves\n"
           "the scope on a new pseudo-terminal. Prints that device (e.g. /dev/pts/7) as the first\n"
           "line, then runs until SIGINT or SIGTERM, and stops the board with it.\n"
           "\n"
           "  --link COMn     make ports/COMn beside the executable point at the pseudo-terminal\n"
           "                  (removed on exit)\n"
           "  --fast          the demo firmware built with a 100 us monitoring period\n"
           "                  (board/ondrix-demo-board-fast.elf) instead of 1 ms\n"
           "                  (board/ondrix-demo-board.elf), both beside the executable\n"
           "  --elf FIRMWARE  run this firmware instead, an ELF file linked for the board\n"
           "  --help          show this text\n"
           "\n"
           "The emulated UART has no baud rate: bytes pass as fast as the emulator runs, and the\n"
           "firmware's SysTick alone sets the frame rate, in the host's time.\n";
}

// Accepts "--name value" and "--name=value".
ProgramOptions ParseOptions(int argc, char** argv) {
    ProgramOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool hasValue = false;
        if (const auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
            hasValue = true;
        }
        const auto takeValue = [&]() {
            if (hasValue) return value;
            if (i + 1 >= argc) throw UsageError(name + " needs a value");
            return std::string(argv[++i]);
        };

        if (name == "--help" && !hasValue) {
            options.help = true;
        } else if (name == "--fast" && !hasValue) {
            options.fast = true;
        } else if (name == "--elf") {
            options.elf = takeValue();
            if (options.elf.empty()) throw UsageError("--elf needs a file");
        } else if (name == "--link") {
            options.linkName = takeValue();
            if (!IsPortLinkName(options.linkName))
                throw UsageError("--link wants a port name such as COM9, not \"" + options.linkName + "\"");
        } else {
            throw UsageError("unknown option \"" + std::string(argv[i]) + "\"");
        }
    }
    if (options.fast && !options.elf.empty())
        throw UsageError("--fast chooses the demo firmware's fast build; it does not go with --elf");
    return options;
}

std::string FirmwarePath(const ProgramOptions& options) {
    if (!options.elf.empty()) return fs::absolute(options.elf).string();
    return (fs::path(ExecutableDirectory()) / (options.fast ? kFastDemoFirmware : kDemoFirmware)).string();
}

// Why `path` cannot be the board's firmware, or empty when it can: QEMU would take any other file
// as a raw image and run whatever it holds.
std::string FirmwareProblem(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::strerror(errno);
    unsigned char header[20] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    const bool elf = file.gcount() == sizeof header && header[0] == 0x7F && header[1] == 'E' && header[2] == 'L' &&
                     header[3] == 'F';
    // 32-bit, little-endian, machine 40: an ARM core's.
    if (!elf || header[4] != 1 || header[5] != 1 || header[18] != 40 || header[19] != 0)
        return "not an ELF file for a 32-bit ARM core";
    return {};
}

// ---- Signals ---------------------------------------------------------------------------------

// The signals the run waits for, taken from a descriptor rather than by handlers, so that a stop
// and QEMU's end are seen in one place, in order.
class SignalDescriptor {
public:
    SignalDescriptor() {
        sigemptyset(&set_);
        for (int number : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) sigaddset(&set_, number);
        if (sigprocmask(SIG_BLOCK, &set_, &previous_) != 0 ||
            (fd_ = signalfd(-1, &set_, SFD_CLOEXEC | SFD_NONBLOCK)) < 0)
            throw std::runtime_error(std::string("cannot take signals: ") + std::strerror(errno));
    }
    // The signals stay blocked: one that comes while the program winds up must not end it
    // before the link is gone and QEMU stopped.
    ~SignalDescriptor() { close(fd_); }
    SignalDescriptor(const SignalDescriptor&) = delete;
    SignalDescriptor& operator=(const SignalDescriptor&) = delete;

    int Fd() const { return fd_; }
    // The mask to give a child: the one the program started with.
    const sigset_t& Previous() const { return previous_; }

    // The next pending signal's number, or 0.
    int Take() {
        signalfd_siginfo info{};
        return read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info) ? static_cast<int>(info.ssi_signo)
                                                                                 : 0;
    }

private:
    sigset_t set_{};
    sigset_t previous_{};
    int fd_ = -1;
};

// ---- QEMU ------------------------------------------------------------------------------------

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return std::string("killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                                    strsignal(WTERMSIG(status)) + ")";
    return "status " + std::to_string(status);
}

// qemu-system-arm running the board, with its standard output on a pipe to us (where it says
// which pseudo-terminal it made) and its standard error on ours. Its own process group keeps a
// terminal's Ctrl+C from reaching it before us: it is stopped here, in order, after the link
// is gone. Should this program be killed outright, the kernel kills QEMU too.
class Qemu {
public:
    Qemu(const std::string& firmware, const SignalDescriptor& signals) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
        const std::vector<std::string> args = {kQemu,    "-machine", kMachine, "-nographic", "-monitor",
                                               "none",   "-serial",  "pty",    "-kernel",    firmware};
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            setpgid(0, 0);
            const int none = open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (none >= 0) dup2(none, STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            signal(SIGPIPE, SIG_DFL);
            sigprocmask(SIG_SETMASK, &signals.Previous(), nullptr);
            execvp(argv[0], argv.data());
            const char failed[] = "ondrix-board: cannot start qemu-system-arm (is it installed?)\n";
            (void)!write(STDERR_FILENO, failed, sizeof failed - 1);
            _exit(127);
        }
        const int forkError = errno;
        close(out[1]);
        if (pid_ < 0) {
            close(out[0]);
            throw std::runtime_error(std::string("cannot start qemu-system-arm: ") + std::strerror(forkError));
        }
        out_ = out[0];
        fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~Qemu() {
        Stop();
        if (out_ >= 0) close(out_);
    }
    Qemu(const Qemu&) = delete;
    Qemu& operator=(const Qemu&) = delete;

    pid_t Pid() const { return pid_; }
    int OutputFd() const { return out_; }

    // Reaps QEMU if it has ended; its wait status then.
    std::optional<int> Ended() {
        if (status_) return status_;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
        return status_;
    }

    // Asks QEMU to quit, then makes it.
    void Stop() {
        if (Ended()) return;
        kill(pid_, SIGTERM);
        for (const auto give = std::chrono::steady_clock::now() + kStopTimeout;
             !Ended() && std::chrono::steady_clock::now() < give;)
            poll(nullptr, 0, 10);
        if (Ended()) return;
        kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = status;
    }

    // Reads what QEMU printed since the last call: false at the end of its output.
    bool ReadOutput(std::string& into) {
        char buffer[512];
        for (;;) {
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n > 0) {
                into.append(buffer, static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            return !(n == 0);
        }
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::optional<int> status_;
};

// A device open for as long as this lives, for no one to read.
class HeldDevice {
public:
    explicit HeldDevice(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (fd_ < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    }
    ~HeldDevice() { close(fd_); }
    HeldDevice(const HeldDevice&) = delete;
    HeldDevice& operator=(const HeldDevice&) = delete;

    int Fd() const { return fd_; }

private:
    int fd_;
};

// The device QEMU announced in `output`, once a whole line says it.
std::optional<std::string> AnnouncedDevice(const std::string& output) {
    const size_t at = output.find(kPtyAnnouncement);
    if (at == std::string::npos) return std::nullopt;
    const size_t start = at + std::strlen(kPtyAnnouncement);
    const size_t end = output.find_first_of(" \n", start);
    if (end == std::string::npos || output.find('\n', start) == std::string::npos) return std::nullopt;
    return output.substr(start, end - start);
}

// ---- The run ---------------------------------------------------------------------------------

using Clock = std::chrono::steady_clock;

// What ended a wait.
struct Wake {
    bool stopRequested = false;  // SIGINT, SIGTERM or SIGHUP
    bool extraReadable = false;
    bool outputClosed = false;
};

// Waits for one of: QEMU's output (added to `output`), a signal, `extra` readable (-1 for none),
// the `until` time. QEMU's end shows as SIGCHLD, which only wakes the wait: Qemu::Ended tells.
Wake WaitOnce(Qemu& qemu, SignalDescriptor& signals, int extra, std::optional<Clock::time_point> until,
              std::string& output, bool& outputOpen) {
    int timeout = -1;
    if (until) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*until - Clock::now()).count();
        timeout = static_cast<int>(std::max<long long>(0, left));
    }
    // A negative descriptor is one poll leaves out.
    pollfd ready[3] = {{signals.Fd(), POLLIN, 0}, {outputOpen ? qemu.OutputFd() : -1, POLLIN, 0}, {extra, POLLIN, 0}};
    if (poll(ready, 3, timeout) < 0 && errno != EINTR)
        throw std::runtime_error(std::string("poll: ") + std::strerror(errno));
    Wake wake;
    if ((ready[1].revents & (POLLIN | POLLHUP)) != 0 && !qemu.ReadOutput(output)) {
        outputOpen = false;
        wake.outputClosed = true;
    }
    wake.extraReadable = (ready[2].revents & POLLIN) != 0;
    for (int number; (number = signals.Take()) != 0;)
        if (number != SIGCHLD) wake.stopRequested = true;
    return wake;
}

int QemuEndedEarly(Qemu& qemu, const std::string& when, const std::string& output) {
    if (!qemu.Ended()) qemu.Stop();
    std::cerr << "ondrix-board: qemu-system-arm ended (" << DescribeStatus(*qemu.Ended()) << ") " << when
              << (output.empty() ? "" : "; it said:\n" + output) << "\n";
    return EXIT_FAILURE;
}

int Run(const ProgramOptions& options) {
    const std::string firmware = FirmwarePath(options);
    if (const std::string problem = FirmwareProblem(firmware); !problem.empty()) {
        std::cerr << "ondrix-board: cannot run " << firmware << ": " << problem
                  << (options.elf.empty() ? " (the build makes it where arm-none-eabi-gcc is installed)" : "")
                  << "\n";
        return EXIT_FAILURE;
    }

    SignalDescriptor signals;
    Qemu qemu(firmware, signals);
    std::string output;
    bool outputOpen = true;

    // QEMU names the pseudo-terminal as soon as it has made it, before the machine starts.
    std::optional<std::string> device;
    for (const auto give = Clock::now() + kStartTimeout; !(device = AnnouncedDevice(output));) {
        if (Clock::now() >= give) {
            std::cerr << "ondrix-board: qemu-system-arm did not make its serial port within "
                      << std::chrono::duration_cast<std::chrono::seconds>(kStartTimeout).count() << " s\n";
            return EXIT_FAILURE;
        }
        const Wake wake = WaitOnce(qemu, signals, -1, give, output, outputOpen);
        if (wake.stopRequested) return EXIT_SUCCESS;
        if (AnnouncedDevice(output)) continue;
        if (wake.outputClosed || qemu.Ended()) return QemuEndedEarly(qemu, "before it made its serial port", output);
    }
    // What QEMU printed besides the announcement is for the user.
    std::cerr << output.substr(0, output.find(kPtyAnnouncement));
    const size_t announcementEnd = output.find('\n', output.find(kPtyAnnouncement));
    output.erase(0, announcementEnd + 1);

    // QEMU reads what the scope sends only while it counts the device as open, and it looks
    // whether it is only once a second otherwise. A request sent meanwhile waits in the
    // pseudo-terminal, where the scope's purge after a request drops it, and the board goes on
    // with its old addresses. Held open here for the whole run, the device never looks closed.
    // The firmware's bytes then wait in it while nobody reads them, as a line's do in a
    // receiver's buffer, and the scope reads them as stale frames before its request.
    const HeldDevice keeper(*device);

    // The device is announced once the firmware talks on it. Until then a scope could open it and
    // send its request at once, as to a line that brings nothing, while the board is still
    // starting: the firmware would take the request late and send frames of its old addresses
    // after the scope began to record.
    bool talked = false;
    for (const auto give = Clock::now() + kFirstOutputTimeout; !talked && Clock::now() < give;) {
        const Wake wake = WaitOnce(qemu, signals, keeper.Fd(), give, output, outputOpen);
        if (wake.stopRequested) return EXIT_SUCCESS;
        if (qemu.Ended()) return QemuEndedEarly(qemu, "while the board started", output);
        talked = wake.extraReadable;
    }
    if (!talked)
        std::cerr << "ondrix-board: the firmware has sent nothing on UART0 within "
                  << std::chrono::duration_cast<std::chrono::seconds>(kFirstOutputTimeout).count()
                  << " s; serving " << *device << " all the same\n";
    std::cerr << output;
    output.clear();

    std::unique_ptr<PortLink> link;
    if (!options.linkName.empty())
        link = std::make_unique<PortLink>(fs::path(ExecutableDirectory()) / "ports" / options.linkName, *device);
    std::cout << *device << std::endl;
    std::cerr << "ondrix-board: " << kMachine << " under QEMU (pid " << qemu.Pid() << ") runs " << firmware
              << "; its UART0 is " << *device << (options.linkName.empty() ? "" : " as " + options.linkName)
              << "; stop with Ctrl+C\n";

    for (;;) {
        const Wake wake = WaitOnce(qemu, signals, -1, std::nullopt, output, outputOpen);
        std::cerr << output;
        output.clear();
        if (wake.stopRequested) return EXIT_SUCCESS;  // the link goes, then QEMU
        if (const std::optional<int> status = qemu.Ended()) {
            std::cerr << "ondrix-board: QEMU ended (" << DescribeStatus(*status) << "); " << *device << " is gone\n";
            return EXIT_FAILURE;
        }
    }
}

}  // namespace
}  // namespace ondrix::board

int main(int argc, char** argv) {
    using namespace ondrix::board;
    ProgramOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "ondrix-board: " << error.what() << "\n\n";
        PrintUsage(std::cerr);
        return 2;
    }
    if (options.help) {
        PrintUsage(std::cout);
        return EXIT_SUCCESS;
    }
    // A script that has read the first line may close our stdout; that must not kill us before
    // the link is removed and QEMU stopped.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << "ondrix-board: " << error.what() << "\n";
        return EXIT_FAILURE;
    }
}
