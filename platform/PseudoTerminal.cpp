#include "PseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace ondrix {

namespace {

void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

// Raw mode on both sides: without it the slave echoes what the master writes back to the
// master and holds input back until a line ends, so FIONREAD would count nothing.
void MakeRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) ThrowErrno("tcgetattr");
    cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) ThrowErrno("tcsetattr");
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) ThrowErrno("posix_openpt");
    char name[128];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        const int saved = errno;
        close(master_);
        throw std::system_error(saved, std::generic_category(), "pseudo-terminal set-up");
    }
    slavePath_ = name;
    slaveKeeper_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slaveKeeper_ < 0) {
        const int saved = errno;
        close(master_);
        throw std::system_error(saved, std::generic_category(), "open pseudo-terminal slave");
    }
    try {
        MakeRaw(slaveKeeper_);
        MakeRaw(master_);
    } catch (...) {
        close(slaveKeeper_);
        close(master_);
        throw;
    }
}

PseudoTerminal::~PseudoTerminal() { HangUp(); }

void PseudoTerminal::HangUp() {
    if (slaveKeeper_ >= 0) close(slaveKeeper_);
    if (master_ >= 0) close(master_);
    slaveKeeper_ = -1;
    master_ = -1;
}

}  // namespace ondrix
