#pragma once
// The one serial port the program holds at a time. Whoever opens last owns it: OpenPort always
// releases the previous device first. The program builds one SerialLink and hands it to every
// opener (acquisition, setup dialog, debug assistant).
//
// Threads: OpenPort runs on the user-interface thread (it may show a message). TryOpenPort,
// TryRejoin and ClosePort may run on any thread, but not at the same time as another open or
// close.
// ReadAvailable, WriteBytes and PurgePort may run on timer threads at the same time as each
// other. Closing waits for a read or write in flight to finish before the device is released,
// so a tick can never use a released device.
//
// A device can go away under an open link (a USB adapter pulled, the far side of a
// pseudo-terminal closed). A read or write that fails asks the device whether it is gone; if so
// the link is *lost*, which its users can tell apart from "nothing queued" through Lost().
// Every successful open remembers which device it reached (see platform/PortIdentity.h), so
// that TryRejoin reaches that device again and no other.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "PortSettings.h"
#include "platform/Notifier.h"
#include "platform/PortIdentity.h"
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

    // The line settles this long after an open before the first byte goes out.
    static constexpr std::chrono::milliseconds kSettleTime{60};

    // Opens COM<PortNumber> with the current settings. On failure shows the step's message
    // ("Open COM%d Err!", "Purge COM%d Err!", "Get Initial COM%d State Err!",
    // "Reset COM%d State Err!") and leaves the link closed; "Open COM%d Err!" is followed by the
    // system's reason on a line of its own, since a refused open has many causes (no such device,
    // held by another program, no permission) that each need another remedy. Returns at once:
    // the settling time is waited for by the first write, so that the thread that talks waits,
    // not the window.
    bool OpenPort();
    // The same steps with the given settings, showing no message: for attempts nobody asked for.
    // LastFailureDetail says why it failed.
    bool TryOpenPort(const PortSettings& settings);
    // Quietly opens again, with the settings it had, the device the last successful open
    // reached, once it is back (ChooseRejoin's rules). False while it is not; LastFailureDetail
    // says why.
    bool TryRejoin();
    // What TryRejoin waits for, as the user may recognise it (see AwaitedDeviceName).
    std::string AwaitedDevice() const;
    // True when every byte left the device within a bound proportional to its line time. Waits
    // first for the line to settle after the open.
    bool WriteBytes(const uint8_t* buffer, size_t count);
    // Reads what is queued, at most kMaxRead bytes, into a buffer of at least kMaxRead bytes.
    // Returns 0 at once when nothing is queued, the link is closed or lost, or the read fails.
    size_t ReadAvailable(uint8_t* buffer);
    void PurgePort();
    void ClosePort();

    // A device is held (possibly a lost one).
    bool IsOpen() const;
    // True once a read or write found the device gone for good. From then on reads return 0
    // and writes fail without touching the device, until ClosePort or the next open.
    bool Lost() const { return lost_.load(std::memory_order_acquire); }
    // What was seen when the device was lost ("the device hung up", ...); empty while not lost.
    std::string LossReason() const;
    // The settings the held device was opened with.
    PortSettings OpenSettings() const;
    // Why the last OpenPort failed, with the device path and the system's reason; empty after
    // a successful open. For logs and the headless recorder, never shown in a message box.
    std::string LastFailureDetail() const;

private:
    // The open sequence on `path`, which is COM<settings.PortNumber> as `identity` tells;
    // `notifier` null shows nothing.
    bool Open(PortSettings settings, Notifier* notifier, const std::string& path, const OpenedPort& identity);
    // Shows the step's message for `portNumber` (when there is a notifier), followed by
    // `reason` when there is one, keeps `detail` for LastFailureDetail, then releases `device`
    // (the one the failed open was configuring, if any). Returns false.
    bool Fail(Notifier* notifier, const char* messageFormat, int portNumber, const std::string& reason,
              const std::string& detail, std::unique_ptr<SerialDevice> device);
    std::chrono::milliseconds WriteTimeLimit(size_t count) const;
    // After a failed step, with the device lock held shared: marks the link lost if the device
    // says it is gone.
    void NoteFailure();

    const PortSettings& settings_;
    Notifier& notifier_;
    PortResolver resolver_;
    SerialDeviceOpener opener_;

    mutable std::shared_mutex deviceMutex_;  // shared: read/write; exclusive: open/close
    std::unique_ptr<SerialDevice> device_;
    PortSettings openSettings_;
    // The device the last successful open reached; kept when the link closes.
    OpenedPort opened_;
    std::chrono::steady_clock::time_point settledAt_{};
    std::string lastFailureDetail_;

    // Set by readers and writers holding the device lock shared, cleared under it exclusively.
    std::atomic<bool> lost_{false};
    mutable std::mutex lossMutex_;
    std::string lossReason_;
};

}  // namespace ondrix
