#include "acquisition/WireProtocol.h"

#include <gtest/gtest.h>

#include "Bytes.h"

namespace ondrix {
namespace {

using test::Ascii;
using test::Hex;

// The bitwise form the protocol description gives to MPU programmers; the table-driven
// CRC_CHECK must agree with it on every input.
uint16_t BitwiseCrc(const uint8_t* buffer, size_t count) {
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < count; ++i) {
        crc ^= buffer[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

TEST(Crc, KnownVectors) {
    struct Case {
        std::vector<uint8_t> bytes;
        uint16_t crc;
    } cases[] = {
        {Ascii("123456789"), 0x4B37},
        {std::vector<uint8_t>(16, 0), 0xF0BE},
        {std::vector<uint8_t>(8, 0), 0x0B40},
        {{}, 0xFFFF},
        {Hex("01 00 FF FF 00 01 34 12"), 0xD146},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CRC_CHECK(c.bytes.data(), static_cast<uint8_t>(c.bytes.size())), c.crc) << c.bytes.size() << " bytes";
}

TEST(Crc, TableAgreesWithBitwiseRoutineUpTo255Bytes) {
    std::vector<uint8_t> bytes(255);
    uint32_t state = 12345;
    for (auto& b : bytes) b = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16);
    for (size_t count = 0; count <= bytes.size(); ++count)
        ASSERT_EQ(CRC_CHECK(bytes.data(), static_cast<uint8_t>(count)), BitwiseCrc(bytes.data(), count)) << count;
}

TEST(RequestFrame, Layouts) {
    struct Case {
        const char* what;
        std::array<ChannelRequest, 4> channels;
        std::vector<uint8_t> frame;
    } cases[] = {
        {"all off", {}, Hex("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 BE F0")},
        {"channel 1 only", {{{0x20001000, true}, {}, {}, {}}},
         Hex("00 10 00 20 00 00 00 00 00 00 00 00 00 00 00 00 D1 9C")},
        {"switched-off channels send zeros whatever they hold",
         {{{0x20001000, true}, {0xDEADBEEF, false}, {0x12345678, false}, {0xFFFFFFFF, false}}},
         Hex("00 10 00 20 00 00 00 00 00 00 00 00 00 00 00 00 D1 9C")},
    };
    for (const auto& c : cases) {
        const RequestFrame frame = BuildRequestFrame(c.channels);
        EXPECT_EQ(std::vector<uint8_t>(frame.begin(), frame.end()), c.frame) << c.what;
    }
}

TEST(RequestFrame, AddressesAreLittleEndianAtTheirChannelsOffset) {
    const RequestFrame frame = BuildRequestFrame({{{0x04030201, true}, {0x08070605, true}, {0x0C0B0A09, true}, {0x100F0E0D, true}}});
    for (int i = 0; i < 16; ++i) EXPECT_EQ(frame[i], i + 1);
    EXPECT_EQ(frame[16] | frame[17] << 8, CRC_CHECK(frame.data(), 16));
}

TEST(SampleFrame, ValidityAndSignedValues) {
    const auto frame = Hex("01 00 FF FF 00 01 34 12 46 D1");
    EXPECT_TRUE(SampleFrameValid(frame.data()));
    EXPECT_EQ(DecodeSampleValues(frame.data()), (SampleValues{1, -1, 256, 4660}));

    auto corrupted = frame;
    corrupted[9] ^= 0x01;
    EXPECT_FALSE(SampleFrameValid(corrupted.data()));

    const SampleFrame extremes = EncodeSampleFrame({-32768, 32767, 0, -1});
    EXPECT_EQ(extremes[0], 0x00);
    EXPECT_EQ(extremes[1], 0x80);
    EXPECT_EQ(extremes[2], 0xFF);
    EXPECT_EQ(extremes[3], 0x7F);
    EXPECT_EQ(DecodeSampleValues(extremes.data()), (SampleValues{-32768, 32767, 0, -1}));
}

}  // namespace
}  // namespace ondrix
