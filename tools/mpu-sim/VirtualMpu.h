#pragma once
// Runs the MPU firmware against a serial line on a fixed schedule, playing the hardware: the
// receive interrupt for each byte that arrived, the monitor routine once per period, the
// transmit interrupt until the frame is out. Optional line noise corrupts or drops sent bytes.
//
// Scheduling: periods start on absolute deadlines (start + n * period on CLOCK_MONOTONIC), so
// the rate holds however long a period's work takes. A runner that fell behind runs the missed
// periods at once, up to kMaxCatchUpPeriods; periods beyond that are skipped as if the MPU had
// been halted for them (the monitor count, and so the waveforms, resume where they stopped).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "MpuFirmware.h"
#include "acquisition/WireProtocol.h"

namespace ondrix::mpusim {

struct VirtualMpuOptions {
    std::chrono::microseconds period{1000};
    double corruptRate = 0;  // probability per sent byte of being replaced by a different byte
    double dropRate = 0;     // probability per sent byte of being left out
    uint32_t seed = 1;       // for corruption/drops (and nothing else: the waveforms are deterministic)
};

constexpr uint64_t kMaxCatchUpPeriods = 100;

// The periods due when the deadline of the next one passed `lateness` ago (lateness >= 0):
// `run` of them are run now, the `skipped` oldest are given up.
struct DuePeriods {
    uint64_t run = 0;
    uint64_t skipped = 0;
};
DuePeriods PeriodsDue(std::chrono::nanoseconds lateness, std::chrono::nanoseconds period);

// Corrupts and drops bytes on their way to the line; a pure function of the seed and the
// bytes seen so far.
class LineNoise {
public:
    LineNoise(double corruptRate, double dropRate, uint32_t seed);
    // The bytes that reach the line, in order.
    std::vector<uint8_t> Apply(const uint8_t* bytes, size_t count);

private:
    std::mt19937 random_;
    std::bernoulli_distribution corrupt_;
    std::bernoulli_distribution drop_;
    // XOR with a non-zero mask, so that a corrupted byte always differs from the original.
    std::uniform_int_distribution<int> corruptionMask_{1, 255};
};

class VirtualMpu {
public:
    // fd: the line's far end (a pty master or a tty), non-blocking; not owned.
    // onFrameSent: called from Run's thread with each period's frame as the firmware sent it,
    // before line noise. Throws std::invalid_argument for a period that is not positive or a
    // rate outside 0..1.
    VirtualMpu(int fd, VirtualMpuOptions options, std::function<void(const SampleFrame&)> onFrameSent = {});
    VirtualMpu(const VirtualMpu&) = delete;
    VirtualMpu& operator=(const VirtualMpu&) = delete;

    // Runs the schedule until `stop` becomes true; it is checked at least every few
    // milliseconds, however long the period. Throws std::system_error when the line fails other
    // than by being full or having nobody at the far end.
    void Run(const std::atomic<bool>& stop);
    // Frames the firmware sent, whether or not the line took them. Any thread.
    uint64_t FramesSent() const { return framesSent_.load(); }
    // Bytes the firmware received from the line. Any thread.
    uint64_t BytesReceived() const { return bytesReceived_.load(); }

private:
    void RunPeriod();
    void ReceivePending();
    void WriteToLine(const std::vector<uint8_t>& bytes);

    int fd_;
    std::chrono::nanoseconds period_;
    std::function<void(const SampleFrame&)> onFrameSent_;
    LineNoise noise_;
    // What the firmware wrote to its transmit register during the current period.
    SampleFrame outgoing_{};
    size_t outgoingCount_ = 0;
    MpuFirmware firmware_;
    std::atomic<uint64_t> framesSent_{0};
    std::atomic<uint64_t> bytesReceived_{0};
};

}  // namespace ondrix::mpusim
