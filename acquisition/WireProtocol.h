#pragma once
// The two frames exchanged with the MPU and their CRC.
//
// RequestFrame (18 bytes, PC to MPU): the four channel addresses, each 32-bit little-endian,
// then CRC_CHECK over bytes 0-15, low byte first. SampleFrame (10 bytes, MPU to PC): four
// 16-bit values, little-endian and signed, then CRC_CHECK over bytes 0-7, low byte first.
// There is no marker and no length: the receiver finds frames by their CRC alone.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ondrix {

constexpr size_t kRequestFrameSize = 18;
constexpr size_t kSampleFrameSize = 10;
constexpr int kChannelCount = 4;

using RequestFrame = std::array<uint8_t, kRequestFrameSize>;
using SampleFrame = std::array<uint8_t, kSampleFrameSize>;
// One frame's four values, channel 1 first.
using SampleValues = std::array<int16_t, kChannelCount>;

// CRC-16 with the reflected polynomial 0x8005 (0xA001), start 0xFFFF, no final XOR: the
// variant Modbus RTU uses. The count is 8-bit on the wire protocol's side, so at most 255
// bytes are covered.
uint16_t CRC_CHECK(const uint8_t* buffer, uint8_t count);

// One channel of the request: a switched-off channel sends address 0 whatever it holds.
struct ChannelRequest {
    uint32_t address = 0;
    bool on = false;
};

RequestFrame BuildRequestFrame(const std::array<ChannelRequest, kChannelCount>& channels);

// True when bytes 8-9 hold the CRC of bytes 0-7, low byte first.
bool SampleFrameValid(const uint8_t* frame);
SampleValues DecodeSampleValues(const uint8_t* frame);
// Builds a valid frame for four values (the MPU side, simulators and tests).
SampleFrame EncodeSampleFrame(const SampleValues& values);

}  // namespace ondrix
