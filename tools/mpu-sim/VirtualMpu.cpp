#include "VirtualMpu.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace ondrix::mpusim {

using std::chrono::nanoseconds;

namespace {

// However long the period, a stop request is noticed within this time.
constexpr nanoseconds kStopPollInterval = std::chrono::milliseconds(5);

nanoseconds MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + nanoseconds(now.tv_nsec);
}

// Returns early on a signal; the caller's loop looks at the clock again.
void SleepUntil(nanoseconds deadline) {
    timespec when{};
    when.tv_sec = static_cast<time_t>(deadline.count() / 1'000'000'000);
    when.tv_nsec = static_cast<long>(deadline.count() % 1'000'000'000);
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr);
}

const VirtualMpuOptions& Validated(const VirtualMpuOptions& options) {
    if (options.period.count() <= 0) throw std::invalid_argument("the period must be positive");
    const auto isRate = [](double rate) { return rate >= 0 && rate <= 1; };
    if (!isRate(options.corruptRate) || !isRate(options.dropRate))
        throw std::invalid_argument("corruption and drop rates must lie between 0 and 1");
    return options;
}

bool LineIsFull(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

}  // namespace

// ---- Scheduling ------------------------------------------------------------------------------

DuePeriods PeriodsDue(nanoseconds lateness, nanoseconds period) {
    const auto due = static_cast<uint64_t>(lateness / period) + 1;
    if (due <= kMaxCatchUpPeriods) return {due, 0};
    return {kMaxCatchUpPeriods, due - kMaxCatchUpPeriods};
}

// ---- Line noise ------------------------------------------------------------------------------

LineNoise::LineNoise(double corruptRate, double dropRate, uint32_t seed)
    : random_(seed), corrupt_(corruptRate), drop_(dropRate) {}

std::vector<uint8_t> LineNoise::Apply(const uint8_t* bytes, size_t count) {
    std::vector<uint8_t> sent;
    sent.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (drop_(random_)) continue;
        uint8_t byte = bytes[i];
        if (corrupt_(random_)) byte = static_cast<uint8_t>(byte ^ corruptionMask_(random_));
        sent.push_back(byte);
    }
    return sent;
}

// ---- Runner ----------------------------------------------------------------------------------

VirtualMpu::VirtualMpu(int fd, VirtualMpuOptions options, std::function<void(const SampleFrame&)> onFrameSent)
    : fd_(fd),
      period_(Validated(options).period),
      onFrameSent_(std::move(onFrameSent)),
      noise_(options.corruptRate, options.dropRate, options.seed),
      firmware_([this](uint8_t byte) {
          if (outgoingCount_ < outgoing_.size()) outgoing_[outgoingCount_++] = byte;
      }) {}

void VirtualMpu::Run(const std::atomic<bool>& stop) {
    nanoseconds deadline = MonotonicNow();
    while (!stop.load()) {
        const nanoseconds now = MonotonicNow();
        if (now < deadline) {
            SleepUntil(std::min(deadline, now + kStopPollInterval));
            continue;
        }
        const DuePeriods due = PeriodsDue(now - deadline, period_);
        deadline += period_ * static_cast<int64_t>(due.run + due.skipped);
        for (uint64_t i = 0; i < due.run && !stop.load(); ++i) RunPeriod();
    }
}

void VirtualMpu::RunPeriod() {
    ReceivePending();
    outgoingCount_ = 0;
    firmware_.voMonitor();
    while (firmware_.TxInterruptEnabled()) firmware_.voTxIsr();
    WriteToLine(noise_.Apply(outgoing_.data(), outgoingCount_));
    framesSent_.fetch_add(1);
    if (onFrameSent_) onFrameSent_(outgoing_);
}

void VirtualMpu::ReceivePending() {
    uint8_t buffer[256];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            for (ssize_t i = 0; i < n; ++i) firmware_.voRxIsr(buffer[i]);
            bytesReceived_.fetch_add(static_cast<uint64_t>(n));
            continue;
        }
        if (n == 0) return;  // a tty after hang-up: nothing more to come for now
        if (errno == EINTR) continue;
        // EIO: a pty master whose slave nobody holds open. The scope may open it later.
        if (LineIsFull(errno) || errno == EIO) return;
        throw std::system_error(errno, std::generic_category(), "read from the line");
    }
}

void VirtualMpu::WriteToLine(const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    ssize_t n;
    do {
        n = write(fd_, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    // Whatever the line does not take now is lost: a UART shifts its bytes out whether or not
    // anyone listens, so a receiver that stops reading (its buffer full: EAGAIN, or a short
    // write) or is not there at all (EIO) simply misses them.
    if (n >= 0 || LineIsFull(errno) || errno == EIO) return;
    throw std::system_error(errno, std::generic_category(), "write to the line");
}

}  // namespace ondrix::mpusim
