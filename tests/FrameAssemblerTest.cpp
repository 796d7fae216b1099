#include "acquisition/FrameAssembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

// Frames, skipped bytes, resyncs, chance matches.
using Figures = std::array<uint64_t, 4>;
Figures FiguresOf(const FrameStatistics& s) { return {s.frames, s.skippedBytes, s.resyncs, s.chanceMatches}; }

// Frame 1 with a damaged first byte, so the assembler slides into it, and frame 2 built so that
// the window three bytes into frame 1 passes the CRC by chance: frame 1's last seven bytes and
// frame 2's first three. The ten bytes after that window are no frame, so it stands alone.
std::vector<uint8_t> StreamWithAChanceWindow(SampleValues& chance) {
    const SampleFrame first = EncodeSampleFrame(kFive[0]);
    std::array<uint8_t, kSampleFrameSize> window{};
    std::copy(first.begin() + 3, first.end(), window.begin());
    window[7] = 0x5A;
    const uint16_t crc = CRC_CHECK(window.data(), 8);
    window[8] = static_cast<uint8_t>(crc & 0xFF);
    window[9] = static_cast<uint8_t>(crc >> 8);
    chance = DecodeSampleValues(window.data());

    const SampleValues secondValues = {static_cast<int16_t>(window[7] | window[8] << 8),
                                       static_cast<int16_t>(window[9] | 0x1200), 3, 4};
    std::vector<uint8_t> bytes(first.begin(), first.end());
    bytes[0] ^= 0xFF;
    const SampleFrame second = EncodeSampleFrame(secondValues);
    bytes.insert(bytes.end(), second.begin(), second.end());
    const auto rest = Stream({kFive[2], kFive[3], kFive[4]});
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    bytes.push_back(0);
    return bytes;
}

TEST(FrameAssembler, StreamWithAChanceWindowIsWhatItSays) {
    SampleValues chance{};
    const auto bytes = StreamWithAChanceWindow(chance);
    EXPECT_TRUE(SampleFrameValid(bytes.data() + 3)) << "the window three bytes in passes";
    EXPECT_FALSE(SampleFrameValid(bytes.data() + 13)) << "the ten bytes after it are no frame";
    EXPECT_FALSE(SampleFrameValid(bytes.data())) << "frame 1 is damaged";
    EXPECT_EQ(std::find(kFive.begin(), kFive.end(), chance), kFive.end());
}

TEST(FrameAssembler, ResynchronisesAfterDamage) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<SampleValues> expected;
        Figures statistics;
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

    SampleValues chance{};
    const Case cases[] = {
        // A stream that starts on a frame counts as in step; one that does not is no resync.
        {"stray byte before the stream", strayFirst, kFive, {5, 1, 0, 0}},
        {"corrupted CRC skips one frame", badCrc, {kFive[0], kFive[1], kFive[3], kFive[4]}, {4, 10, 1, 0}},
        {"lost byte inside a frame", lostByte, {kFive[0], kFive[2], kFive[3], kFive[4]}, {4, 9, 1, 0}},
        // Skipped: three slides into the chance window, its ten bytes, seven slides to frame 3:
        // exactly the twenty bytes of frames 1 and 2.
        {"a window that passes by chance after a slide", StreamWithAChanceWindow(chance),
         {kFive[2], kFive[3], kFive[4]}, {3, 20, 0, 1}},
    };
    for (const auto& c : cases) {
        for (const size_t read : {c.bytes.size(), size_t{1}}) {
            FrameAssembler assembler;
            EXPECT_EQ(Assemble(c.bytes, {read}, assembler), c.expected) << c.what << ", reads of " << read;
            EXPECT_EQ(FiguresOf(assembler.Statistics()), c.statistics) << c.what << ", reads of " << read;
        }
    }
}

// Out of step, a window that passes is held until the next ten bytes confirm it: the first
// frame after a resynchronisation comes one frame late, and then both come at once.
TEST(FrameAssembler, FirstFrameAfterASlideWaitsForTheNextOne) {
    auto bytes = Stream({kFive[0], kFive[1], kFive[2]});
    bytes.insert(bytes.begin(), 0xA5);
    bytes.push_back(0);
    FrameAssembler assembler;
    std::vector<SampleValues> found;
    auto feedUpTo = [&, fed = size_t{0}](size_t end) mutable {
        assembler.Feed(bytes.data() + fed, end - fed, [&](const uint8_t* frame) { found.push_back(DecodeSampleValues(frame)); });
        fed = end;
    };
    feedUpTo(1 + 10 + 1);  // the stray byte, frame 1 and the byte after it
    EXPECT_TRUE(found.empty()) << "held";
    feedUpTo(1 + 20 + 1);  // frame 2 and the byte after it
    EXPECT_EQ(found, (std::vector<SampleValues>{kFive[0], kFive[1]}));
    feedUpTo(bytes.size());  // frame 3 and the byte after it
    EXPECT_EQ(found, (std::vector<SampleValues>{kFive[0], kFive[1], kFive[2]})) << "in step: one byte late";
}

// A line that damages and loses bytes: everything delivered is a frame the MPU sent, in order.
// Without the held window the first of these seeded streams lets a phantom frame through.
TEST(FrameAssembler, NoisyStreamYieldsOnlySentFramesInOrder) {
    struct Case {
        double corrupt, drop;
        size_t atLeast;
    } cases[] = {{0.01, 0.0, 40000}, {0.01, 0.01, 38000}};
    for (const Case& c : cases) {
        std::mt19937 random(1210);
        std::uniform_int_distribution<int> value(-32768, 32767);
        std::vector<SampleValues> sent(50000);
        for (auto& values : sent)
            for (auto& v : values) v = static_cast<int16_t>(value(random));
        std::bernoulli_distribution corrupt(c.corrupt), drop(c.drop);
        std::uniform_int_distribution<int> mask(1, 255);
        std::vector<uint8_t> bytes;
        for (uint8_t byte : Stream(sent)) {
            if (drop(random)) continue;
            bytes.push_back(corrupt(random) ? static_cast<uint8_t>(byte ^ mask(random)) : byte);
        }

        FrameAssembler assembler;
        const auto found = Assemble(bytes, {8192}, assembler);
        auto next = sent.begin();
        for (size_t i = 0; i < found.size(); ++i) {
            next = std::find(next, sent.end(), found[i]);
            ASSERT_NE(next, sent.end()) << "frame " << i << " was never sent, or came out of order; drop " << c.drop;
            ++next;
        }
        EXPECT_GT(found.size(), c.atLeast) << "drop " << c.drop;
        EXPECT_EQ(assembler.Statistics().frames, found.size());
    }
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
