#include "PosixSerialDevice.h"

// termios2 (TCGETS2/TCSETS2 with BOTHER) lives in the kernel's own headers, which clash with
// glibc's <termios.h>: this unit includes only the kernel's. <sys/ioctl.h> builds cleanly with
// them (it brings the ioctl numbers from <asm/ioctls.h>, not glibc's termios types).
#include <asm/termbits.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/tty.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <system_error>
#include <thread>
#include <vector>

namespace ondrix {

namespace {

using Clock = std::chrono::steady_clock;

std::string ErrorText(int error) { return std::generic_category().message(error); }

// What a user refused a device can do about it. Serial devices belong to a group (dialout on
// Debian, uucp elsewhere) whose members may open them; the group is read from the device, so
// that the advice is right on any system. A device of the group root had no group made for it,
// and joining root is no advice to give: the usual group is named then.
std::string AccessAdvice(const std::string& path) {
    std::string groupName = "dialout";
    struct stat node {};
    if (stat(path.c_str(), &node) == 0 && node.st_gid != 0) {
        struct group entry {};
        struct group* found = nullptr;
        std::vector<char> names(4096);
        if (getgrgid_r(node.st_gid, &entry, names.data(), names.size(), &found) == 0 && found != nullptr)
            groupName = found->gr_name;
    }
    return "only members of the group " + groupName + " may use it: sudo usermod -aG " + groupName +
           " $USER, then log in again";
}

std::string OpenFailure(const std::string& path, int error) {
    std::string text = path + ": " + ErrorText(error);
    if (error == EACCES || error == EPERM) text += " (" + AccessAdvice(path) + ")";
    return text;
}

// A line discipline other than the terminal's own (SLIP, PPP, a multiplexer, left attached by a
// daemon that still holds the port open) takes every byte before a read sees it, and refuses
// even a purge.
bool UsePlainTerminalDiscipline(int fd) {
    int discipline = N_TTY;
    if (ioctl(fd, TIOCGETD, &discipline) != 0) return false;
    if (discipline == N_TTY) return true;
    discipline = N_TTY;
    return ioctl(fd, TIOCSETD, &discipline) == 0;
}

// Milliseconds left until `deadline`, rounded up so that a short wait is never a busy one.
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    return left > 60'000 ? 60'000 : static_cast<int>(left);
}

// ---- the device -----------------------------------------------------------------------------

class PosixTty final : public SerialDevice {
public:
    explicit PosixTty(int fd) : fd_(fd) {
        // Drivers of on-board UARTs report whether the transmitter is empty; pseudo-terminals and
        // most USB adapters do not (ENOTTY). Asked once here, so Write needs no shared state.
        int lineStatus = 0;
        canReportTransmitterEmpty_ = ioctl(fd_, TIOCSERGETLSR, &lineStatus) == 0;
    }

    // The exclusive flag belongs to the tty, not to our open: left set, it would outlive this
    // object and refuse a later non-root opener as long as anything else holds the tty open (a
    // pseudo-terminal's master side, another reader). The flock goes with the descriptor.
    ~PosixTty() override {
        ioctl(fd_, TIOCNXCL);
        close(fd_);
    }

    // Discards what still waits on this side: bytes received and not read, bytes written and not
    // sent. A pseudo-terminal hands written bytes straight to its far side and always reports
    // an empty output queue; flushing its output would throw away what the far side has not
    // read yet, such as the tail of a request just sent. So output is flushed only when some is
    // still queued here.
    bool Purge() override { return ioctl(fd_, TCFLSH, QueuedOutputBytes() == 0 ? TCIFLUSH : TCIOFLUSH) == 0; }

    bool ReadLineState() override {
        if (ioctl(fd_, TCGETS2, &saved_) != 0) return false;
        haveSavedState_ = true;
        return true;
    }

    bool ApplyLineSettings(const LineSettings& settings) override {
        if (!haveSavedState_ || settings.baudRate <= 0) {
            errno = EINVAL;
            return false;
        }
        termios2 wanted = saved_;
        unsigned int controlFlags = wanted.c_cflag;
        if (!ComposeCharacterFormat(settings, controlFlags)) {
            errno = EINVAL;
            return false;
        }

        // The scope's ports carry binary frames in which every byte value may occur, so the line
        // must be fully raw whatever a previous owner (a terminal program, getty, stty) left
        // behind: no input translation (ICRNL, INLCR, IGNCR, ISTRIP, PARMRK, parity checking that
        // rewrites bytes), no software flow control (IXON swallows every 0x11 and 0x13, which
        // lost every frame holding one), no output processing, no echo, no line editing, no
        // signals. This is what cfmakeraw does, and more: every input, output and local flag off.
        wanted.c_iflag = 0;
        wanted.c_oflag = 0;
        wanted.c_lflag = 0;
        // No hardware flow control either: a CTS line that nobody drives would hold every write.
        controlFlags &= ~static_cast<tcflag_t>(CRTSCTS);
        // Receiver on; modem-status lines do not gate the port: an MPU's UART rarely drives them.
        // HUPCL stays as the driver has it: some boards reset when DTR drops on close.
        controlFlags |= CREAD | CLOCAL;
        // Any integer rate, the same for both directions.
        controlFlags &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
        controlFlags |= BOTHER | (BOTHER << IBSHIFT);
        wanted.c_cflag = controlFlags;
        wanted.c_ospeed = static_cast<speed_t>(settings.baudRate);
        wanted.c_ispeed = static_cast<speed_t>(settings.baudRate);
        // Reads return what is queued and never wait (the descriptor is non-blocking as well).
        wanted.c_cc[VMIN] = 0;
        wanted.c_cc[VTIME] = 0;

        if (ioctl(fd_, TCSETS2, &wanted) != 0) return false;

        // A driver takes the nearest rate its clock divider can make and reports that. A UART
        // off by more than about 3 % samples the later bits of every character in the wrong bit
        // cell, so every byte would arrive garbled: refuse the rate, as a driver that cannot run
        // it should. (Pseudo-terminals take every rate exactly.)
        termios2 actual{};
        if (ioctl(fd_, TCGETS2, &actual) != 0) return RestoreSavedState(errno);
        if (!CloseEnough(actual.c_ospeed, settings.baudRate) ||
            (actual.c_ispeed != 0 && !CloseEnough(actual.c_ispeed, settings.baudRate))) {
            return RestoreSavedState(ERANGE);
        }
        return true;
    }

    long QueuedInputBytes() override {
        int queued = 0;
        if (ioctl(fd_, FIONREAD, &queued) != 0) return -1;
        return queued;
    }

    long Read(uint8_t* buffer, size_t count) override {
        for (;;) {
            const ssize_t got = read(fd_, buffer, count);
            if (got >= 0) return static_cast<long>(got);
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
            return -1;
        }
    }

    bool Write(const uint8_t* buffer, size_t count, std::chrono::milliseconds limit) override {
        // A limit past any sensible wait would overflow the clock; a year is "no limit" here.
        const Clock::time_point deadline =
            Clock::now() + std::min(limit, std::chrono::milliseconds(std::chrono::hours(24 * 365)));
        size_t done = 0;
        while (done < count) {
            const ssize_t sent = write(fd_, buffer + done, count - done);
            if (sent > 0) {
                done += static_cast<size_t>(sent);
                continue;
            }
            if (sent < 0 && errno == EINTR) continue;
            if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
            // The output queue is full (the line is slow, or held by flow control): wait for room.
            const int left = MillisecondsLeft(deadline);
            if (left == 0) return false;
            pollfd room{fd_, POLLOUT, 0};
            if (poll(&room, 1, left) < 0 && errno != EINTR) return false;
        }
        return WaitUntilSent(deadline);
    }

    std::string WhyGone() override {
        // A hung-up tty (USB adapter pulled, the far side of a pseudo-terminal closed) answers
        // poll with POLLHUP and every ioctl with EIO; its device node disappears with it.
        pollfd state{fd_, 0, 0};
        if (poll(&state, 1, 0) == 1) {
            if (state.revents & POLLNVAL) return "the port's handle is no longer valid";
            if (state.revents & POLLHUP) return "the device hung up";
        }
        struct stat node {};
        if (fstat(fd_, &node) == 0 && node.st_nlink == 0) return "the device node was removed";
        if (QueuedOutputBytes() < 0 && (errno == EIO || errno == ENXIO || errno == ENODEV)) return ErrorText(errno);
        return {};
    }

private:
    static bool CloseEnough(speed_t actual, int requested) {
        const double difference = static_cast<double>(actual) - requested;
        return std::abs(difference) * 100.0 <= 3.0 * requested;
    }

    // Leaves the line as it was before a refused ApplyLineSettings; errno = `error`.
    bool RestoreSavedState(int error) {
        ioctl(fd_, TCSETS2, &saved_);
        errno = error;
        return false;
    }

    // Bytes written and not yet sent; -1, with errno, when the driver cannot tell.
    int QueuedOutputBytes() const {
        int queued = 0;
        return ioctl(fd_, TIOCOUTQ, &queued) == 0 ? queued : -1;
    }

    // tcdrain without its unbounded wait: polls the driver's output queue (TIOCOUTQ) and, where
    // the driver can tell, the transmitter itself, every millisecond until both are empty or the
    // deadline passes. A pseudo-terminal always reports an empty queue: its writes block instead
    // once the far side stops reading, which the loop in Write bounds.
    bool WaitUntilSent(Clock::time_point deadline) const {
        for (;;) {
            if (AllSent()) return true;
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool AllSent() const {
        // A driver that cannot report its queue leaves nothing to wait for.
        if (QueuedOutputBytes() > 0) return false;
        if (!canReportTransmitterEmpty_) return true;
        int lineStatus = 0;
        if (ioctl(fd_, TIOCSERGETLSR, &lineStatus) != 0) return true;
        return (lineStatus & TIOCSER_TEMT) != 0;
    }

    const int fd_;
    bool canReportTransmitterEmpty_ = false;
    bool haveSavedState_ = false;
    termios2 saved_{};
};

}  // namespace

// ---- character format -----------------------------------------------------------------------

bool ComposeCharacterFormat(const LineSettings& settings, unsigned int& controlFlags) {
    tcflag_t size = 0;
    switch (settings.dataBits) {
        case 5: size = CS5; break;
        case 6: size = CS6; break;
        case 7: size = CS7; break;
        case 8: size = CS8; break;
        default: return false;
    }
    tcflag_t parityFlags = 0;
    switch (settings.parity) {
        case 0: break;
        case 1: parityFlags = PARENB | PARODD; break;
        case 2: parityFlags = PARENB; break;
        default: return false;
    }
    tcflag_t stopFlags = 0;
    switch (settings.stopBits) {
        case 0: break;
        // termios has no separate setting for one and a half stop bits: with CSTOPB a UART sends
        // 1.5 stop bits after 5 data bits and 2 otherwise, so 1.5 is applied as the line allows.
        case 1: stopFlags = CSTOPB; break;
        case 2: stopFlags = CSTOPB; break;
        default: return false;
    }
    controlFlags &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    controlFlags |= size | parityFlags | stopFlags;
    return true;
}

// ---- opening --------------------------------------------------------------------------------

SerialDeviceOpener PosixSerialDeviceOpener() {
    return [](const std::string& path, std::string& error) -> std::unique_ptr<SerialDevice> {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = OpenFailure(path, errno);
            return nullptr;
        }
        // flock before TIOCEXCL, so that an attempt refused by the lock leaves the holder's tty
        // exactly as it was. A held lock reads as "busy", like the open refused by TIOCEXCL.
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int saved = errno == EWOULDBLOCK ? EBUSY : errno;
            close(fd);
            error = path + ": " + ErrorText(saved);
            return nullptr;
        }
        // Also the test that the path is a terminal at all: anything else answers ENOTTY.
        if (ioctl(fd, TIOCEXCL) != 0) {
            const int saved = errno;
            close(fd);
            error = path + ": " + ErrorText(saved);
            return nullptr;
        }
        if (!UsePlainTerminalDiscipline(fd)) {
            const int saved = errno;
            ioctl(fd, TIOCNXCL);
            close(fd);
            error = path + ": cannot use it as a terminal: " + ErrorText(saved);
            return nullptr;
        }
        return std::make_unique<PosixTty>(fd);
    };
}

}  // namespace ondrix
