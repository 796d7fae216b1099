#pragma once
// The recorded data file (".dat"): what the four channels hold, as 16-bit values, with each
// channel's title, address and on/off state. Little-endian throughout:
//
//   length word (4, = 8n + 132), then per channel: title (20, zero-terminated), address (4),
//   On (4, signed), n (4), n values (2 each, signed, oldest first)
//
// X values are not stored: point i of every channel was taken at the same sample.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "WireProtocol.h"

namespace ondrix {

constexpr size_t kTitleFieldSize = 20;

struct RecordedChannel {
    std::string title;  // at most kTitleFieldSize - 1 characters are kept
    uint32_t address = 0;
    int32_t on = 0;
    std::vector<int16_t> values;
};

using RecordedData = std::array<RecordedChannel, kChannelCount>;

// Throws std::invalid_argument when the channels hold different numbers of values, which the
// format cannot express.
std::vector<uint8_t> EncodeRecordedData(const RecordedData& data);

struct DecodedRecording {
    bool valid = false;  // false: the length word or a block does not fit the bytes given
    RecordedData data;
};

// Checks the whole file before taking anything from it: the length word must equal the size,
// and the four blocks must carry one count and fill the file exactly. Nothing outside the
// given bytes is ever read.
DecodedRecording DecodeRecordedData(const uint8_t* bytes, size_t size);

}  // namespace ondrix
