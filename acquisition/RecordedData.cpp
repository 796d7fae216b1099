#include "RecordedData.h"

#include <algorithm>
#include <stdexcept>

namespace ondrix {

namespace {

constexpr size_t kBlockHeaderSize = kTitleFieldSize + 12;  // title, address, On, n

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(value >> (8 * b)));
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::vector<uint8_t> EncodeRecordedData(const RecordedData& data) {
    const size_t n = data[0].values.size();
    for (const RecordedChannel& channel : data)
        if (channel.values.size() != n) throw std::invalid_argument("recorded channels differ in length");

    std::vector<uint8_t> out;
    out.reserve(8 * n + 132);
    PutU32(out, static_cast<uint32_t>(8 * n + 132));
    for (const RecordedChannel& channel : data) {
        const size_t titleLength = std::min(channel.title.size(), kTitleFieldSize - 1);
        out.insert(out.end(), channel.title.begin(), channel.title.begin() + static_cast<std::ptrdiff_t>(titleLength));
        out.insert(out.end(), kTitleFieldSize - titleLength, 0);
        PutU32(out, channel.address);
        PutU32(out, static_cast<uint32_t>(channel.on));
        PutU32(out, static_cast<uint32_t>(n));
        for (int16_t value : channel.values) {
            const auto word = static_cast<uint16_t>(value);
            out.push_back(static_cast<uint8_t>(word & 0xFF));
            out.push_back(static_cast<uint8_t>(word >> 8));
        }
    }
    return out;
}

DecodedRecording DecodeRecordedData(const uint8_t* bytes, size_t size) {
    DecodedRecording result;
    if (size < 4 || GetU32(bytes) != size) return result;

    size_t offset = 4;
    uint64_t firstCount = 0;
    for (int c = 0; c < kChannelCount; ++c) {
        if (size - offset < kBlockHeaderSize) return result;
        const uint8_t* block = bytes + offset;
        const uint64_t n = GetU32(block + kTitleFieldSize + 8);
        if (c == 0) firstCount = n;
        if (n != firstCount || (size - offset - kBlockHeaderSize) / 2 < n) return result;

        RecordedChannel& channel = result.data[c];
        const auto* title = reinterpret_cast<const char*>(block);
        // The field always ends in a zero; a file that fills all 20 bytes loses the last one,
        // so that what is read is always something that can be written again.
        channel.title.assign(title, std::find(title, title + kTitleFieldSize - 1, '\0'));
        channel.address = GetU32(block + kTitleFieldSize);
        channel.on = static_cast<int32_t>(GetU32(block + kTitleFieldSize + 4));
        const uint8_t* values = block + kBlockHeaderSize;
        channel.values.resize(n);
        for (uint64_t i = 0; i < n; ++i)
            channel.values[i] = static_cast<int16_t>(static_cast<uint16_t>(values[2 * i] | values[2 * i + 1] << 8));
        offset += kBlockHeaderSize + 2 * n;
    }
    result.valid = offset == size;
    if (!result.valid) result.data = RecordedData{};
    return result;
}

}  // namespace ondrix
