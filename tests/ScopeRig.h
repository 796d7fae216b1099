#pragma once
// A virtual MPU on a pseudo-terminal, reachable as COM1 through a ports folder of its own, for
// tests that drive the real serial link and session end to end. It can be unplugged (its side of
// the line closes, as when the MPU's program is killed or a USB adapter is pulled) and plugged
// in again, as a fresh MPU on a new pseudo-terminal behind the same COM1.

#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PortLinks.h"
#include "TemporaryFolder.h"
#include "platform/PseudoTerminal.h"
#include "tools/mpu-sim/VirtualMpu.h"

namespace ondrix::test {

class VirtualMpuRig {
public:
    // `expectedFrames`: room made in the record beforehand, so that a long run's MPU thread does
    // not stall on a large reallocation.
    explicit VirtualMpuRig(mpusim::VirtualMpuOptions options = {}, size_t expectedFrames = 0) : options_(options) {
        sent_.reserve(expectedFrames);
        PlugIn();
    }
    ~VirtualMpuRig() { Unplug(); }

    // The scope's side of the line hangs up and the device node disappears. COM1 then names a
    // device that is not there: the pseudo-terminal's number is free for another test to take,
    // and the scope must not rejoin that one.
    void Unplug() {
        if (!thread_.joinable()) return;
        stop_ = true;
        thread_.join();
        mpu_.reset();
        pty_->HangUp();
        PointPortAtNothing(folder_.Path() / "COM1");
    }

    // A new MPU, its counters from 0, on a new pseudo-terminal that COM1 now names.
    void PlugIn() {
        Unplug();
        pty_ = std::make_unique<PseudoTerminal>();
        PointPortAt(folder_.Path() / "COM1", pty_->SlavePath());
        mpu_ = std::make_unique<mpusim::VirtualMpu>(pty_->MasterFd(), options_, [this](const SampleFrame& frame) {
            std::lock_guard<std::mutex> lock(mutex_);
            sent_.push_back(DecodeSampleValues(frame.data()));
        });
        stop_ = false;
        thread_ = std::thread([this] {
            try {
                mpu_->Run(stop_);
            } catch (const std::exception& error) {
                std::lock_guard<std::mutex> lock(mutex_);
                failure_ = error.what();
                failed_ = true;
            }
        });
    }

    std::string PortsFolder() const { return folder_.Path().string(); }
    const std::string& DevicePath() const { return pty_->SlavePath(); }
    // What the MPU plugged in now has received from the line.
    uint64_t BytesReceived() const { return mpu_ ? mpu_->BytesReceived() : 0; }
    // Every frame sent, by every MPU plugged in so far, in order.
    std::vector<SampleValues> Sent() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return sent_;
    }
    size_t SentCount() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return sent_.size();
    }
    // Whether an MPU's line failed under it (other than by the scope's going away), and how.
    bool Failed() const { return failed_.load(); }
    std::string Failure() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return failure_;
    }

private:
    mpusim::VirtualMpuOptions options_;
    TemporaryFolder folder_;
    std::unique_ptr<PseudoTerminal> pty_;
    mutable std::mutex mutex_;
    std::vector<SampleValues> sent_;
    std::string failure_;
    std::atomic<bool> failed_{false};
    std::unique_ptr<mpusim::VirtualMpu> mpu_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace ondrix::test
