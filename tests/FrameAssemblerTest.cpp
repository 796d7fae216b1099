#include "acquisition/FrameAssembler.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Bytes.h"

namespace ondrix {
namespace {

std::vector<uint8_t> Stream(const std::vector<SampleValues>& frames) {
    std::vector<uint8_t> bytes;
    for (const auto& values : frames) {
        const SampleFrame frame = EncodeSampleFrame(values);
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

// Feeds the stream cut into reads of the given sizes (the last size repeats).
std::vector<SampleValues> Assemble(const std::vector<uint8_t>& bytes, const std::vector<size_t>& readSizes,
                                   FrameAssembler& assembler) {
    std::vector<SampleValues> found;
    size_t offset = 0;
    for (size_t r = 0; offset < bytes.size(); ++r) {
        const size_t size = std::min(readSizes[std::min(r, readSizes.size() - 1)], bytes.size() - offset);
        assembler.Feed(bytes.data() + offset, size, [&](const uint8_t* frame) { found.push_back(DecodeSampleValues(frame)); });
        offset += size;
    }
    return found;
}

std::vector<SampleValues> Assemble(const std::vector<uint8_t>& bytes, const std::vector<size_t>& readSizes) {
    FrameAssembler assembler;
    return Assemble(bytes, readSizes, assembler);
}

const std::vector<SampleValues> kFive = {{1, -1, 256, 4660}, {0, 0, 0, 0}, {-32768, 32767, 7, -7},
                                         {100, 200, 300, 400}, {-1, -2, -3, -4}};

TEST(FrameAssembler, ResultDoesNotDependOnHowReadsAreCut) {
    auto bytes = Stream(kFive);
    bytes.push_back(0x00);  // the byte after the fifth frame, which lets it be tested
    const std::vector<std::vector<size_t>> cuts = {{bytes.size()}, {1}, {3, 7, 40}, {9}, {11}};
    for (const auto& cut : cuts) EXPECT_EQ(Assemble(bytes, cut), kFive) << "first read " << cut[0];
}

TEST(FrameAssembler, LastFrameWaitsForTheNextByte) {
    const auto bytes = Stream(kFive);
    FrameAssembler assembler;
    auto found = Assemble(bytes, {bytes.size()}, assembler);
    EXPECT_EQ(found.size(), 4u);
    EXPECT_EQ(assembler.Count(), 10);

    const uint8_t next = 0x55;
    assembler.Feed(&next, 1, [&](const uint8_t* frame) { found.push_back(DecodeSampleValues(frame)); });
    EXPECT_EQ(found, kFive);
    EXPECT_EQ(assembler.Count(), 1);
}

TEST(FrameAssembler, ResynchronisesAfterDamage) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<SampleValues> expected;
    };
    auto strayFirst = Stream(kFive);
    strayFirst.insert(strayFirst.begin(), 0xA5);
    strayFirst.push_back(0);

    auto badCrc = Stream(kFive);
    badCrc[2 * 10 + 8] ^= 0xFF;  // third frame's CRC low byte
    badCrc.push_back(0);

    auto lostByte = Stream(kFive);
    lostByte.erase(lostByte.begin() + 13);  // a value byte of the second frame
    lostByte.push_back(0);

    const Case cases[] = {
        {"stray byte before the stream", strayFirst, kFive},
        {"corrupted CRC skips one frame", badCrc, {kFive[0], kFive[1], kFive[3], kFive[4]}},
        {"lost byte inside a frame", lostByte, {kFive[0], kFive[2], kFive[3], kFive[4]}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Assemble(c.bytes, {c.bytes.size()}), c.expected) << c.what;
        EXPECT_EQ(Assemble(c.bytes, {1}), c.expected) << c.what << ", byte by byte";
    }
}

TEST(FrameAssembler, NoisyStreamYieldsOnlySentFramesInOrder) {
    std::mt19937 random(1210);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<SampleValues> sent(5000);
    for (auto& values : sent)
        for (auto& v : values) v = static_cast<int16_t>(value(random));
    auto bytes = Stream(sent);
    std::bernoulli_distribution corrupt(0.01);
    std::uniform_int_distribution<int> mask(1, 255);
    for (auto& byte : bytes)
        if (corrupt(random)) byte = static_cast<uint8_t>(byte ^ mask(random));

    const auto found = Assemble(bytes, {8192});
    auto next = sent.begin();
    for (size_t i = 0; i < found.size(); ++i) {
        next = std::find(next, sent.end(), found[i]);
        ASSERT_NE(next, sent.end()) << "frame " << i << " was never sent, or came out of order";
        ++next;
    }
    EXPECT_GT(found.size(), 4000u);
}

TEST(FrameAssembler, ResetForgetsAPartialFrame) {
    const auto bytes = Stream(kFive);
    FrameAssembler assembler;
    Assemble({bytes.begin(), bytes.begin() + 6}, {6}, assembler);
    assembler.Reset();
    auto rest = bytes;
    rest.push_back(0);
    EXPECT_EQ(Assemble(rest, {4}, assembler), kFive);
}

}  // namespace
}  // namespace ondrix
