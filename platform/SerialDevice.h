#pragma once
// One opened serial device, as the serial link sees it. The real one is a POSIX tty
// (PosixSerialDevice); tests substitute stand-ins for the cases a pseudo-terminal cannot show.
// Read, Write, Purge and WhyGone may run on different threads at once (a purge discards what a
// write in flight has queued, and so cuts that write short); everything else runs while none
// of them does. A device may say why a step failed through errno.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ondrix {

// The five line settings, in the platform's own codes (see PortSettings).
struct LineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    int parity = 0;    // 0 none, 1 odd, 2 even
    int stopBits = 0;  // 0 one, 1 one and a half, 2 two
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Discards both queues. False when the device refuses.
    virtual bool Purge() = 0;
    // Reads the device's current state, which ApplyLineSettings starts from.
    virtual bool ReadLineState() = 0;
    // Applies the settings over the state read last, leaving everything else as it was.
    // False when the device refuses or cannot run at these settings.
    virtual bool ApplyLineSettings(const LineSettings& settings) = 0;
    // Bytes waiting in the input queue; negative when the device cannot tell.
    virtual long QueuedInputBytes() = 0;
    // Reads up to count bytes that are already queued; never waits. Negative on failure.
    virtual long Read(uint8_t* buffer, size_t count) = 0;
    // Writes all bytes and waits until they have left the device, at most `limit`.
    // False when not all of them left in time.
    virtual bool Write(const uint8_t* buffer, size_t count, std::chrono::milliseconds limit) = 0;
    // Asked after a step failed, to tell a passing failure from a device that has gone for good
    // (unplugged, hung up, its node removed) and will never work through this handle again.
    // Empty while the device is still there; otherwise what was seen, for the user.
    virtual std::string WhyGone() = 0;
};

// Opens a device by path, exclusively. On failure returns null and says why in `error`.
using SerialDeviceOpener =
    std::function<std::unique_ptr<SerialDevice>(const std::string& path, std::string& error)>;

}  // namespace ondrix
