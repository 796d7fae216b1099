// ondrix-mpu-sim: a virtual MPU on the far end of a serial line, for demos and end-to-end tests.
//
// Prints the device it serves as the first line of stdout, then serves it until SIGINT,
// SIGTERM or SIGHUP. Exit status: 0 after a signal, 1 on an error, 2 on bad options.

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>

#include "VirtualMpu.h"
#include "platform/PortLink.h"
#include "platform/PortResolver.h"
#include "platform/PseudoTerminal.h"

namespace fs = std::filesystem;

namespace ondrix::mpusim {
namespace {

// ---- Options ---------------------------------------------------------------------------------

struct ProgramOptions {
    VirtualMpuOptions mpu;
    std::string device;    // empty: serve a new pseudo-terminal
    std::string linkName;  // e.g. "COM9"; empty: no link
    bool help = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void PrintUsage(std::ostream& out) {
    out << "Usage: ondrix-mpu-sim [options]\n"
           "A virtual MPU: answers the scope's requests and sends one sample frame per period.\n"
           "Prints the device it serves (e.g. /dev/pts/7) as the first line, then runs until\n"
           "SIGINT or SIGTERM.\n"
           "\n"
           "  --period-us N   monitoring period in microseconds (default 1000)\n"
           "  --device PATH   serve this tty instead of a new pseudo-terminal\n"
           "  --link COMn     make ports/COMn beside the executable point at the new pseudo-terminal\n"
           "                  (removed on exit)\n"
           "  --corrupt RATE  probability (0..1) that a sent byte is replaced by another\n"
           "  --drop RATE     probability (0..1) that a sent byte is left out\n"
           "  --seed N        seed for corruption and drops (default 1)\n"
           "  --help          show this text\n";
}

uint64_t ParseUnsigned(const std::string& option, const std::string& text, uint64_t min, uint64_t max) {
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    const bool wellFormed = !text.empty() && text[0] >= '0' && text[0] <= '9' && *end == '\0' && errno == 0;
    if (!wellFormed || value < min || value > max)
        throw UsageError(option + " wants a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not \"" + text + "\"");
    return value;
}

double ParseRate(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= 0 && value <= 1))
        throw UsageError(option + " wants a probability from 0 to 1, not \"" + text + "\"");
    return value;
}

std::string ParseLinkName(const std::string& text) {
    if (!IsPortLinkName(text)) throw UsageError("--link wants a port name such as COM9, not \"" + text + "\"");
    return text;
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
        } else if (name == "--period-us") {
            options.mpu.period = std::chrono::microseconds(ParseUnsigned(name, takeValue(), 1, 60'000'000));
        } else if (name == "--device") {
            options.device = takeValue();
            if (options.device.empty()) throw UsageError("--device needs a path");
        } else if (name == "--link") {
            options.linkName = ParseLinkName(takeValue());
        } else if (name == "--corrupt") {
            options.mpu.corruptRate = ParseRate(name, takeValue());
        } else if (name == "--drop") {
            options.mpu.dropRate = ParseRate(name, takeValue());
        } else if (name == "--seed") {
            options.mpu.seed = static_cast<uint32_t>(
                ParseUnsigned(name, takeValue(), 0, std::numeric_limits<uint32_t>::max()));
        } else {
            throw UsageError("unknown option \"" + std::string(argv[i]) + "\"");
        }
    }
    // A served tty is this end of a cable; the scope opens the other end, which only the user
    // knows, so a link to this end would send the scope to the wrong port.
    if (!options.device.empty() && !options.linkName.empty())
        throw UsageError("--link serves a new pseudo-terminal; with --device, point ports/COMn at the far end of the cable");
    return options;
}

// ---- The served device -----------------------------------------------------------------------

// A tty given on the command line, opened raw and non-blocking for as long as this lives.
class TtyDevice {
public:
    explicit TtyDevice(const std::string& path) {
        fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
        if (!MakeRaw()) {
            const std::string reason = std::strerror(errno);
            close(fd_);
            throw std::runtime_error("cannot put " + path + " in raw mode: " + reason);
        }
    }
    ~TtyDevice() { close(fd_); }
    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    int Fd() const { return fd_; }

private:
    // Every byte value passes unchanged: no echo, no line editing, no newline translation.
    bool MakeRaw() {
        termios tio{};
        if (tcgetattr(fd_, &tio) != 0) return false;
        cfmakeraw(&tio);
        return tcsetattr(fd_, TCSANOW, &tio) == 0;
    }

    int fd_ = -1;
};

// ---- Signals and the run ---------------------------------------------------------------------

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void RequestStop(int) { stopRequested.store(true); }

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaction(number, &action, nullptr);
    // A script that has read the first line may close our stdout; that must not kill us
    // before the link is removed.
    std::signal(SIGPIPE, SIG_IGN);
}

int Serve(const ProgramOptions& options) {
    std::unique_ptr<PseudoTerminal> pty;
    std::unique_ptr<TtyDevice> tty;
    std::string devicePath;
    int fd = -1;
    if (options.device.empty()) {
        pty = std::make_unique<PseudoTerminal>();
        devicePath = pty->SlavePath();
        fd = pty->MasterFd();
    } else {
        // Absolute, so that the link does not resolve relative to the ports folder.
        devicePath = fs::absolute(options.device).string();
        tty = std::make_unique<TtyDevice>(devicePath);
        fd = tty->Fd();
    }

    std::unique_ptr<PortLink> link;
    if (!options.linkName.empty())
        link = std::make_unique<PortLink>(fs::path(ExecutableDirectory()) / "ports" / options.linkName, devicePath);

    VirtualMpu mpu(fd, options.mpu);
    std::cout << devicePath << std::endl;
    std::cerr << "ondrix-mpu-sim: serving " << devicePath
              << (options.linkName.empty() ? "" : " as " + options.linkName) << ", one frame every "
              << options.mpu.period.count() << " us; stop with Ctrl+C\n";
    mpu.Run(stopRequested);
    return EXIT_SUCCESS;
}

}  // namespace
}  // namespace ondrix::mpusim

int main(int argc, char** argv) {
    using namespace ondrix::mpusim;
    ProgramOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << "ondrix-mpu-sim: " << error.what() << "\n\n";
        PrintUsage(std::cerr);
        return 2;
    }
    if (options.help) {
        PrintUsage(std::cout);
        return EXIT_SUCCESS;
    }

    InstallSignalHandlers();
    try {
        return Serve(options);
    } catch (const std::exception& error) {
        std::cerr << "ondrix-mpu-sim: " << error.what() << "\n";
        return EXIT_FAILURE;
    }
}
