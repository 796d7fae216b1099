#pragma once
// A virtual MPU on a pseudo-terminal, reachable as COM1 through a ports folder of its own, for
// tests that drive the real serial link and session end to end. It can be unplugged (its side of
// the line closes, as when the MPU's program is killed or a USB adapter is pulled) and plugged
// in again, as a fresh MPU on a new pseudo-terminal behind the same COM1.

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "TemporaryFolder.h"
#include "platform/PseudoTerminal.h"
#include "tools/mpu-sim/VirtualMpu.h"

namespace ondrix::test {

class VirtualMpuRig {
public:
    explicit VirtualMpuRig(mpusim::VirtualMpuOptions options = {}) : options_(options) { PlugIn(); }
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
        Link(folder_.Path() / "unplugged");
    }

    // A new MPU, its counters from 0, on a new pseudo-terminal that COM1 now names.
    void PlugIn() {
        Unplug();
        pty_ = std::make_unique<PseudoTerminal>();
        Link(pty_->SlavePath());
        mpu_ = std::make_unique<mpusim::VirtualMpu>(pty_->MasterFd(), options_, [this](const SampleFrame& frame) {
            std::lock_guard<std::mutex> lock(mutex_);
            sent_.push_back(DecodeSampleValues(frame.data()));
        });
        stop_ = false;
        thread_ = std::thread([this] { mpu_->Run(stop_); });
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

private:
    // COM1 is replaced in one step, as the virtual MPU program does, so that a resolver never
    // finds it missing.
    void Link(const std::filesystem::path& device) {
        const std::filesystem::path fresh = folder_.Path() / "COM1.new";
        std::filesystem::create_symlink(device, fresh);
        std::filesystem::rename(fresh, folder_.Path() / "COM1");
    }

    mpusim::VirtualMpuOptions options_;
    TemporaryFolder folder_;
    std::unique_ptr<PseudoTerminal> pty_;
    mutable std::mutex mutex_;
    std::vector<SampleValues> sent_;
    std::unique_ptr<mpusim::VirtualMpu> mpu_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace ondrix::test
