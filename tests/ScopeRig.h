#pragma once
// A virtual MPU on a pseudo-terminal, reachable as COM1 through a ports folder of its own, for
// tests that drive the real serial link and session end to end.

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "TemporaryFolder.h"
#include "platform/PseudoTerminal.h"
#include "tools/mpu-sim/VirtualMpu.h"

namespace ondrix::test {

class VirtualMpuRig {
public:
    explicit VirtualMpuRig(mpusim::VirtualMpuOptions options = {})
        : mpu_(pty_.MasterFd(), options, [this](const SampleFrame& frame) {
              std::lock_guard<std::mutex> lock(mutex_);
              sent_.push_back(DecodeSampleValues(frame.data()));
          }) {
        std::filesystem::create_symlink(pty_.SlavePath(), folder_.Path() / "COM1");
        thread_ = std::thread([this] { mpu_.Run(stop_); });
    }
    ~VirtualMpuRig() {
        stop_ = true;
        thread_.join();
    }

    std::string PortsFolder() const { return folder_.Path().string(); }
    const std::string& DevicePath() const { return pty_.SlavePath(); }
    std::vector<SampleValues> Sent() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return sent_;
    }

private:
    TemporaryFolder folder_;
    PseudoTerminal pty_;
    mutable std::mutex mutex_;
    std::vector<SampleValues> sent_;
    mpusim::VirtualMpu mpu_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace ondrix::test
