#include "MpuFirmware.h"

#include <utility>

#include "acquisition/WireProtocol.h"

namespace ondrix::mpusim {

namespace {

uint32_t LittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

MpuFirmware::MpuFirmware(TransmitRegister transmit) : transmit_(std::move(transmit)) {}

void MpuFirmware::voRxIsr(uint8_t byte) {
    RxBuf[RxCnt++] = byte;
    Rx50msCnt = 0;
    if (RxCnt < RxCountMax) return;
    if (CRC_CHECK(RxBuf.data(), 16) == RxBuf[17] * 256 + RxBuf[16]) TakeRequest();
    RxCnt = 0;
}

void MpuFirmware::voMonitor() {
    if (++Rx50msCnt >= kRxSilencePeriods) {
        RxCnt = 0;
        Rx50msCnt = 0;
    }

    memory_.Update(monitorCount_++);
    const uint32_t addresses[] = {pAddr1, pAddr2, pAddr3, pAddr4};
    for (int i = 0; i < 4; ++i) {
        const uint16_t word = memory_.ReadWord(addresses[i]);
        TxBuf[2 * i] = static_cast<uint8_t>(word & 0xFF);
        TxBuf[2 * i + 1] = static_cast<uint8_t>(word >> 8);
    }
    const uint16_t crc = CRC_CHECK(TxBuf.data(), 8);
    TxBuf[8] = static_cast<uint8_t>(crc & 0xFF);
    TxBuf[9] = static_cast<uint8_t>(crc >> 8);

    transmit_(TxBuf[0]);
    TxCnt = 1;
    txInterruptEnabled_ = true;
}

void MpuFirmware::voTxIsr() {
    if (TxCnt < kTxFrameSize) transmit_(TxBuf[TxCnt++]);
    if (TxCnt >= kTxFrameSize) txInterruptEnabled_ = false;
}

void MpuFirmware::TakeRequest() {
    pAddr1 = LittleEndian32(&RxBuf[0]);
    pAddr2 = LittleEndian32(&RxBuf[4]);
    pAddr3 = LittleEndian32(&RxBuf[8]);
    pAddr4 = LittleEndian32(&RxBuf[12]);
}

}  // namespace ondrix::mpusim
