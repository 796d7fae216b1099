#pragma once
// The firmware an MPU runs to serve the scope, written as the reference routines an MPU
// programmer is given: a receive interrupt that collects the 18-byte request, a monitor routine
// called once per monitoring period that samples four words and starts a 10-byte frame, and a
// transmit interrupt that sends the rest of the frame.
//
// The UART is modelled by a transmit register (a callback taking each byte the firmware sends)
// and the transmit-interrupt enable flag. Whoever plays the hardware calls voTxIsr while
// TxInterruptEnabled() holds, as the UART would raise the interrupt each time a byte has left.
//
// Not thread-safe: like the routines on a single-core MPU, one caller at a time.

#include <array>
#include <cstdint>
#include <functional>

#include "MemoryMap.h"

namespace ondrix::mpusim {

class MpuFirmware {
public:
    using TransmitRegister = std::function<void(uint8_t)>;

    explicit MpuFirmware(TransmitRegister transmit);

    // Receive interrupt: one byte from the line.
    void voRxIsr(uint8_t byte);
    // Once per monitoring period: silence timeout, sampling, start of transmission.
    void voMonitor();
    // Transmit interrupt: the next byte of the frame, then disables itself.
    void voTxIsr();

    bool TxInterruptEnabled() const { return txInterruptEnabled_; }
    // pAddr1..pAddr4: zero until a valid request has arrived.
    std::array<uint32_t, 4> ChannelAddresses() const { return {pAddr1, pAddr2, pAddr3, pAddr4}; }
    // Number of voMonitor calls so far: the k the memory is at for the next one.
    uint64_t MonitorCount() const { return monitorCount_; }

private:
    static constexpr uint8_t RxCountMax = 18;
    static constexpr uint8_t kTxFrameSize = 10;
    // A request cut short is dropped after this many periods without a received byte.
    static constexpr uint16_t kRxSilencePeriods = 500;

    void TakeRequest();

    TransmitRegister transmit_;
    MemoryMap memory_;
    uint64_t monitorCount_ = 0;
    bool txInterruptEnabled_ = false;

    // The reference routines' own state, under their own names.
    std::array<uint8_t, RxCountMax> RxBuf{};
    uint8_t RxCnt = 0;
    uint16_t Rx50msCnt = 0;
    std::array<uint8_t, kTxFrameSize> TxBuf{};
    uint8_t TxCnt = 0;
    uint32_t pAddr1 = 0;
    uint32_t pAddr2 = 0;
    uint32_t pAddr3 = 0;
    uint32_t pAddr4 = 0;
};

}  // namespace ondrix::mpusim
