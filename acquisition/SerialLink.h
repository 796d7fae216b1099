#pragma once
// The one serial port the program holds at a time. Whoever opens last owns it: OpenPort always
// releases the previous device first. The program builds one SerialLink and hands it to every
// opener (acquisition, setup dialog, debug assistant).
//
// Threads: OpenPort and ClosePort run on the user-interface thread. ReadAvailable and
// WriteBytes may run on timer threads at the same time as each other. Closing waits for a read
// or write in flight to finish before the device is released, so a tick can never use a
// released device.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <string>

#include "PortSettings.h"
#include "platform/Notifier.h"
#include "platform/PortResolver.h"
#include "platform/PosixSerialDevice.h"
#include "platform/SerialDevice.h"

namespace ondrix {

class SerialLink {
public:
    static constexpr size_t kMaxRead = 8192;

    // `settings` is read at every OpenPort, so changes take effect at the next open.
    SerialLink(const PortSettings& settings, Notifier& notifier,
               PortResolver resolver = DefaultPortResolver(),
               SerialDeviceOpener opener = PosixSerialDeviceOpener());
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // Opens COM<PortNumber> with the current settings. On failure shows the step's message
    // ("Open COM%d Err!", "Purge COM%d Err!", "Get Initial COM%d State Err!",
    // "Reset COM%d State Err!") and leaves the link closed.
    bool OpenPort();
    // True when every byte left the device within a bound proportional to its line time.
    bool WriteBytes(const uint8_t* buffer, size_t count);
    // Reads what is queued, at most kMaxRead bytes, into a buffer of at least kMaxRead bytes.
    // Returns 0 at once when nothing is queued, the link is closed or the read fails.
    size_t ReadAvailable(uint8_t* buffer);
    void PurgePort();
    void ClosePort();

    bool IsOpen() const;
    // Why the last OpenPort failed, with the device path and the system's reason; empty after
    // a successful open. For logs and the headless recorder, never shown in a message box.
    std::string LastFailureDetail() const;

private:
    // Shows the step's message for `portNumber`, keeps `detail` for LastFailureDetail, then
    // releases `device` (the one the failed open was configuring, if any). Returns false.
    bool Fail(const char* messageFormat, int portNumber, const std::string& detail,
              std::unique_ptr<SerialDevice> device);
    std::chrono::milliseconds WriteTimeLimit(size_t count) const;

    const PortSettings& settings_;
    Notifier& notifier_;
    PortResolver resolver_;
    SerialDeviceOpener opener_;

    mutable std::shared_mutex deviceMutex_;  // shared: read/write; exclusive: open/close
    std::unique_ptr<SerialDevice> device_;
    int openBaudRate_ = 0;
    int openBitsPerCharacter_ = 10;  // start + data + parity + stop bits of the open line, >= 10
    std::string lastFailureDetail_;
};

}  // namespace ondrix
