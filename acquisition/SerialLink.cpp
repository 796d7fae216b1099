#include "SerialLink.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace ondrix {

namespace {

// The settings as they reach the line: the baud rate whole, the other three as single bytes,
// as stored settings have always been applied. Devices take the codes as they come, so this is
// where the stored values' high bytes are dropped, for the device and the write bound alike.
LineSettings LowByteSettings(const PortSettings& settings) {
    LineSettings line;
    line.baudRate = settings.BaudRate;
    line.dataBits = settings.DataBits & 0xFF;
    line.parity = settings.Parity & 0xFF;
    line.stopBits = settings.StopBits & 0xFF;
    return line;
}

// Bits one character occupies on the line: start, data, parity, stop (1.5 counted as 2). At
// least 10, so that odd settings never make the write bound shorter than for 8N1.
int BitsPerCharacter(const LineSettings& line) {
    const int parityBits = line.parity == 1 || line.parity == 2 ? 1 : 0;
    const int stopBits = line.stopBits == 0 ? 1 : 2;
    return std::max(10, 1 + line.dataBits + parityBits + stopBits);
}

// Why a device step failed: the reason the device left in errno, if it left one.
std::string ReasonAfter(int error) {
    return error != 0 ? std::generic_category().message(error) : "refused by the device";
}

}  // namespace

SerialLink::SerialLink(const PortSettings& settings, Notifier& notifier, PortResolver resolver,
                       SerialDeviceOpener opener)
    : settings_(settings), notifier_(notifier), resolver_(std::move(resolver)),
      opener_(std::move(opener)) {}

SerialLink::~SerialLink() { ClosePort(); }

// ---- opening --------------------------------------------------------------------------------

// The settings are the user-interface thread's, as is this call; they are read once, here.
bool SerialLink::OpenPort() {
    const ResolvedPort port = resolver_(settings_.PortNumber);
    return Open(settings_, &notifier_, port.path, IdentifyOpenedPort(port));
}

bool SerialLink::TryOpenPort(const PortSettings& settings) {
    const ResolvedPort port = resolver_(settings.PortNumber);
    return Open(settings, nullptr, port.path, IdentifyOpenedPort(port));
}

// COM<n> is resolved again at every attempt: its entry may name another device by now.
bool SerialLink::TryRejoin() {
    OpenedPort lost;
    PortSettings settings;
    {
        std::shared_lock<std::shared_mutex> lock(deviceMutex_);
        lost = opened_;
        settings = openSettings_;
    }
    const RejoinChoice choice = ChooseRejoin(lost, resolver_(settings.PortNumber));
    if (choice.path.empty()) {
        ClosePort();
        std::unique_lock<std::shared_mutex> lock(deviceMutex_);
        lastFailureDetail_ = "waiting for " + AwaitedDeviceName(lost) + ": " + choice.waiting;
        return false;
    }
    return Open(settings, nullptr, choice.path, choice.identity);
}

std::string SerialLink::AwaitedDevice() const {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    return AwaitedDeviceName(opened_);
}

bool SerialLink::Open(PortSettings settings, Notifier* notifier, const std::string& path,
                      const OpenedPort& identity) {
    const int port = settings.PortNumber;

    // 1. Release whatever is open. The exclusive lock waits for a read or write in flight.
    ClosePort();

    // 2. The device, opened exclusively. It stays local until it is fully set up, so no other
    //    thread can see it half-configured and no lock is held while a message box is up.
    if (path.empty()) {
        const std::string reason = "COM" + std::to_string(port) + ": no such port";
        return Fail(notifier, "Open COM%d Err!", port, reason, "open: " + reason, nullptr);
    }
    std::string openError;
    std::unique_ptr<SerialDevice> device = opener_(path, openError);
    if (!device) {
        if (openError.empty()) openError = path + ": refused";
        return Fail(notifier, "Open COM%d Err!", port, openError, "open: " + openError, nullptr);
    }

    // 3. Linux sizes a tty's queues itself and takes no request for 8192-byte queues; the
    //    8192-byte read limit is kept by ReadAvailable.

    // 4.-6. Each device step, with the reason it gives through errno when it fails.
    errno = 0;
    if (!device->Purge()) {
        const int error = errno;
        return Fail(notifier, "Purge COM%d Err!", port, {}, "purge: " + path + ": " + ReasonAfter(error),
                    std::move(device));
    }
    errno = 0;
    if (!device->ReadLineState()) {
        const int error = errno;
        return Fail(notifier, "Get Initial COM%d State Err!", port, {},
                    "get state: " + path + ": " + ReasonAfter(error), std::move(device));
    }
    const LineSettings line = LowByteSettings(settings);
    errno = 0;
    if (!device->ApplyLineSettings(line)) {
        const int error = errno;
        return Fail(notifier, "Reset COM%d State Err!", port, {},
                    "set state: " + path + ": " + ReasonAfter(error), std::move(device));
    }

    std::unique_lock<std::shared_mutex> lock(deviceMutex_);
    device_ = std::move(device);
    openSettings_ = settings;
    opened_ = identity;
    // 7. The line settles before anyone talks; the first write waits for it.
    settledAt_ = std::chrono::steady_clock::now() + kSettleTime;
    lastFailureDetail_.clear();
    return true;
}

bool SerialLink::Fail(Notifier* notifier, const char* messageFormat, int portNumber, const std::string& reason,
                      const std::string& detail, std::unique_ptr<SerialDevice> device) {
    {
        std::unique_lock<std::shared_mutex> lock(deviceMutex_);
        lastFailureDetail_ = detail;
    }
    if (notifier) {
        char text[64];
        std::snprintf(text, sizeof text, messageFormat, portNumber);
        // Shown with no lock held: a message box may run a nested event loop for a long time.
        notifier->ShowMessage(reason.empty() ? std::string(text) : text + std::string("\n") + reason);
    }
    device.reset();
    return false;
}

// ---- moving bytes ---------------------------------------------------------------------------

bool SerialLink::WriteBytes(const uint8_t* buffer, size_t count) {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    if (!device_ || Lost()) return false;
    std::this_thread::sleep_until(settledAt_);
    if (device_->Write(buffer, count, WriteTimeLimit(count))) return true;
    NoteFailure();
    return false;
}

// A write waits for its bytes to leave, but not without limit: a line held by flow control (a
// device that never raises CTS, an XOFF never followed by XON) would freeze the window that
// wrote. The wait is bounded: four times the time the bytes need on the line at the open
// settings, and never less than one second, ample for any line that is actually moving.
std::chrono::milliseconds SerialLink::WriteTimeLimit(size_t count) const {
    const LineSettings line = LowByteSettings(openSettings_);
    const double lineSeconds = static_cast<double>(count) * BitsPerCharacter(line) / std::max(line.baudRate, 1);
    const double limitMs = std::ceil(4.0 * lineSeconds * 1000.0);
    const double capped = std::min(limitMs, 1e12);  // far beyond any real wait; keeps the cast sane
    return std::max(std::chrono::milliseconds(1000),
                    std::chrono::milliseconds(static_cast<long long>(capped)));
}

size_t SerialLink::ReadAvailable(uint8_t* buffer) {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    if (!device_ || Lost()) return 0;
    const long queued = device_->QueuedInputBytes();
    if (queued == 0) return 0;
    if (queued < 0) {
        // A device that cannot tell counts as having nothing queued, unless it has gone.
        NoteFailure();
        return 0;
    }
    const size_t wanted = std::min(kMaxRead, static_cast<size_t>(queued));
    const long got = device_->Read(buffer, wanted);
    if (got <= 0) {
        NoteFailure();
        return 0;
    }
    return std::min(wanted, static_cast<size_t>(got));
}

void SerialLink::NoteFailure() {
    std::string reason = device_->WhyGone();
    if (reason.empty()) return;
    std::lock_guard<std::mutex> lock(lossMutex_);
    if (Lost()) return;
    lossReason_ = std::move(reason);
    lost_.store(true, std::memory_order_release);
}

void SerialLink::PurgePort() {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    if (device_ && !Lost()) device_->Purge();
}

void SerialLink::ClosePort() {
    std::unique_lock<std::shared_mutex> lock(deviceMutex_);
    device_.reset();
    std::lock_guard<std::mutex> lossLock(lossMutex_);
    lost_.store(false, std::memory_order_release);
    lossReason_.clear();
}

bool SerialLink::IsOpen() const {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    return device_ != nullptr;
}

std::string SerialLink::LossReason() const {
    std::lock_guard<std::mutex> lock(lossMutex_);
    return lossReason_;
}

PortSettings SerialLink::OpenSettings() const {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    return openSettings_;
}

std::string SerialLink::LastFailureDetail() const {
    std::shared_lock<std::shared_mutex> lock(deviceMutex_);
    return lastFailureDetail_;
}

}  // namespace ondrix
