#pragma once
// A pseudo-terminal pair: the master side plays the far end of a serial line, the slave side
// is the device the scope opens. Used by the virtual MPU and by tests.

#include <string>

namespace ondrix {

class PseudoTerminal {
public:
    // Opens a new pair, both sides in raw mode, the master non-blocking. Throws
    // std::system_error when the system has no pseudo-terminal to give.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The far end goes away, as when the program serving it is killed or a USB adapter is
    // pulled: whoever holds the slave side sees it hang up, and its device node disappears.
    void HangUp();

    // -1 after HangUp.
    int MasterFd() const { return master_; }
    // The path of the slave device, e.g. /dev/pts/7.
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open so that the line stays up (no hang-up, nothing lost) between the scope's opens.
    int slaveKeeper_ = -1;
    std::string slavePath_;
};

}  // namespace ondrix
