#include "acquisition/RecordedData.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

RecordedData Sample(size_t n) {
    RecordedData data;
    const char* titles[] = {"CH1", "CH2", "Motor rpm", "0123456789"};
    for (int c = 0; c < kChannelCount; ++c) {
        data[c].title = titles[c];
        data[c].address = 0x20001000u + 2u * c;
        data[c].on = c == 2 ? 0 : 1;
        for (size_t i = 0; i < n; ++i) data[c].values.push_back(static_cast<int16_t>(i * 1000 - c * 7 - 32768));
    }
    return data;
}

bool Same(const RecordedData& a, const RecordedData& b) {
    for (int c = 0; c < kChannelCount; ++c)
        if (a[c].title != b[c].title || a[c].address != b[c].address || a[c].on != b[c].on || a[c].values != b[c].values)
            return false;
    return true;
}

TEST(RecordedData, LayoutAndRoundTrip) {
    for (size_t n : {size_t{0}, size_t{1}, size_t{50000}}) {
        const auto bytes = EncodeRecordedData(Sample(n));
        ASSERT_EQ(bytes.size(), 8 * n + 132) << n;
        const auto decoded = DecodeRecordedData(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded.valid) << n;
        EXPECT_TRUE(Same(decoded.data, Sample(n))) << n;
    }
}

TEST(RecordedData, FiftyThousandZeroPointsStartWithTheirLength) {
    RecordedData zeros;
    for (auto& channel : zeros) channel.values.assign(50000, 0);
    const auto bytes = EncodeRecordedData(zeros);
    ASSERT_EQ(bytes.size(), 400132u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), (std::vector<uint8_t>{0x04, 0x1B, 0x06, 0x00}));
}

TEST(RecordedData, BlockFieldsAtTheirOffsets) {
    const auto bytes = EncodeRecordedData(Sample(3));
    // Channel 2's block starts at 36 + 2n: title, then address 0x20001002 little-endian.
    const size_t block2 = 36 + 2 * 3;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[block2])), "CH2");
    EXPECT_EQ(bytes[block2 + 20], 0x02);
    EXPECT_EQ(bytes[block2 + 23], 0x20);
    EXPECT_EQ(bytes[block2 + 28], 3);  // n
}

TEST(RecordedData, RefusesFilesThatDoNotAddUp) {
    const auto good = EncodeRecordedData(Sample(4));
    auto longer = good;
    longer.push_back(0);
    auto mixedCounts = good;
    mixedCounts[36 + 8 + 28] = 3;  // channel 2's n says 3 while channel 1 has 4
    auto hugeCount = good;
    for (int b = 0; b < 4; ++b) hugeCount[32 + b] = 0xFF;
    auto shortLength = good;
    shortLength[0] -= 2;
    shortLength.resize(shortLength.size() - 2);  // length word fits the size, blocks do not

    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"one byte longer than its length word", longer},
        {"blocks with different counts", mixedCounts},
        {"count far beyond the file", hugeCount},
        {"blocks larger than the file", shortLength},
        {"too short for a length word", {0x04, 0x00}},
        {"empty", {}},
    };
    for (const auto& [what, bytes] : cases) EXPECT_FALSE(DecodeRecordedData(bytes.data(), bytes.size()).valid) << what;
}

TEST(RecordedData, EncodingRefusesChannelsOfDifferentLength) {
    auto data = Sample(2);
    data[3].values.pop_back();
    EXPECT_THROW(EncodeRecordedData(data), std::invalid_argument);
}

TEST(RecordedData, LongTitlesKeepTheirTerminator) {
    auto data = Sample(0);
    data[0].title = std::string(40, 'x');
    const auto decoded = DecodeRecordedData(EncodeRecordedData(data).data(), 132);
    ASSERT_TRUE(decoded.valid);
    EXPECT_EQ(decoded.data[0].title, std::string(19, 'x'));

    // A field with no zero at all reads as its first 19 characters, which can be written again.
    auto unterminated = EncodeRecordedData(Sample(0));
    std::fill(unterminated.begin() + 4, unterminated.begin() + 24, 'y');
    const auto read = DecodeRecordedData(unterminated.data(), unterminated.size());
    ASSERT_TRUE(read.valid);
    EXPECT_EQ(read.data[0].title, std::string(19, 'y'));
}

}  // namespace
}  // namespace ondrix
