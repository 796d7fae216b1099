#include "WireProtocol.h"

namespace ondrix {

namespace {

// The bitwise routine, one byte at a time. The table below is built from it, so the two can
// never disagree.
constexpr uint16_t CrcStep(uint16_t crc) {
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    return crc;
}

struct CrcTable {
    uint16_t entry[256];
    constexpr CrcTable() : entry() {
        for (int i = 0; i < 256; ++i) entry[i] = CrcStep(static_cast<uint16_t>(i));
    }
};

constexpr CrcTable kCrcTable;

}  // namespace

uint16_t CRC_CHECK(const uint8_t* buffer, uint8_t count) {
    uint16_t crc = 0xFFFF;
    for (uint8_t i = 0; i < count; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ kCrcTable.entry[(crc ^ buffer[i]) & 0xFF]);
    return crc;
}

RequestFrame BuildRequestFrame(const std::array<ChannelRequest, kChannelCount>& channels) {
    RequestFrame frame{};
    for (int i = 0; i < kChannelCount; ++i) {
        if (!channels[i].on) continue;
        for (int b = 0; b < 4; ++b) frame[4 * i + b] = static_cast<uint8_t>(channels[i].address >> (8 * b));
    }
    const uint16_t crc = CRC_CHECK(frame.data(), 16);
    frame[16] = static_cast<uint8_t>(crc & 0xFF);
    frame[17] = static_cast<uint8_t>(crc >> 8);
    return frame;
}

bool SampleFrameValid(const uint8_t* frame) {
    return CRC_CHECK(frame, 8) == frame[9] * 256 + frame[8];
}

SampleValues DecodeSampleValues(const uint8_t* frame) {
    SampleValues values{};
    for (int c = 0; c < kChannelCount; ++c)
        values[c] = static_cast<int16_t>(static_cast<uint16_t>(frame[2 * c] | frame[2 * c + 1] << 8));
    return values;
}

SampleFrame EncodeSampleFrame(const SampleValues& values) {
    SampleFrame frame{};
    for (int c = 0; c < kChannelCount; ++c) {
        const auto word = static_cast<uint16_t>(values[c]);
        frame[2 * c] = static_cast<uint8_t>(word & 0xFF);
        frame[2 * c + 1] = static_cast<uint8_t>(word >> 8);
    }
    const uint16_t crc = CRC_CHECK(frame.data(), 8);
    frame[8] = static_cast<uint8_t>(crc & 0xFF);
    frame[9] = static_cast<uint8_t>(crc >> 8);
    return frame;
}

}  // namespace ondrix
