// The MPU's side of the protocol (mpu/ondrix_mpu.c) against the scope's own side: requests built
// by the scope's encoder, frames found by the scope's assembler.

#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "acquisition/FrameAssembler.h"
#include "acquisition/WireProtocol.h"
#include "mpu/ondrix_mpu.h"

namespace ondrix {
namespace {

using Addresses = std::array<uint32_t, kChannelCount>;
using Bytes = std::vector<uint8_t>;

Bytes Request(const Addresses& addresses) {
    std::array<ChannelRequest, kChannelCount> channels{};
    for (int i = 0; i < kChannelCount; ++i) channels[i] = {addresses[i], true};
    const RequestFrame frame = BuildRequestFrame(channels);
    return {frame.begin(), frame.end()};
}

Bytes Slice(const Bytes& bytes, size_t from, size_t to) { return {bytes.begin() + from, bytes.begin() + to}; }

// The word a board's memory holds where nothing was stored: a function of the address, never 0,
// so that a 0 in a frame means the module did not read.
uint16_t Scattered(uint32_t address) { return static_cast<uint16_t>(((address * 2654435761u) >> 16) | 1u); }

// The MPU around the module: its memory (read through read_word, every read recorded), the
// UART's data register and its transmit-interrupt switch (both recorded as events).
class Board {
public:
    explicit Board(const ondrix_mpu_range* readable = nullptr, size_t readableCount = 0) {
        ondrix_mpu_config config{};
        config.put_byte = [](void* board, uint8_t byte) {
            auto& self = *static_cast<Board*>(board);
            self.line.push_back(byte);
            self.events.push_back("put " + Hex(byte));
        };
        config.transmit_interrupt = [](void* board, int enable) {
            auto& self = *static_cast<Board*>(board);
            self.interruptOn = enable != 0;
            self.events.push_back(enable ? "on" : "off");
        };
        config.read_word = [](void* board, uint32_t address) {
            auto& self = *static_cast<Board*>(board);
            self.reads.push_back(address);
            return self.Word(address);
        };
        config.context = this;
        config.readable = readable;
        config.readable_count = readableCount;
        ondrix_mpu_init(&mpu, &config);
    }
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    static std::string Hex(uint8_t byte) {
        static const char digits[] = "0123456789abcdef";
        return {digits[byte >> 4], digits[byte & 15]};
    }

    uint16_t Word(uint32_t address) const {
        const auto stored = memory.find(address);
        return stored != memory.end() ? stored->second : Scattered(address);
    }

    void Receive(const Bytes& bytes) {
        for (uint8_t byte : bytes) ondrix_mpu_receive(&mpu, byte);
    }
    // Monitoring periods, the UART sending each whole frame: it raises the transmit interrupt
    // for as long as the interrupt is on.
    void Periods(int count) {
        for (int period = 0; period < count; ++period) {
            ondrix_mpu_monitor(&mpu);
            for (int chance = 0; interruptOn && chance < 20; ++chance) ondrix_mpu_transmit(&mpu);
            ASSERT_FALSE(interruptOn) << "the transmit interrupt stays on after the frame";
        }
    }
    Addresses Watched() const {
        Addresses watched{};
        for (unsigned channel = 0; channel < watched.size(); ++channel)
            watched[channel] = ondrix_mpu_address(&mpu, channel);
        return watched;
    }

    ondrix_mpu mpu{};
    std::map<uint32_t, uint16_t> memory;
    std::vector<uint32_t> reads;
    Bytes line;
    std::vector<std::string> events;
    bool interruptOn = false;
};

// What the scope makes of the line: the frames its assembler delivers, and its figures.
struct Received {
    std::vector<SampleValues> frames;
    FrameStatistics statistics;
};

Received Assemble(const Bytes& line) {
    FrameAssembler assembler;
    Received received;
    assembler.Feed(line.data(), line.size(),
                   [&](const uint8_t* frame) { received.frames.push_back(DecodeSampleValues(frame)); });
    received.statistics = assembler.Statistics();
    return received;
}

SampleValues Values(const std::array<uint16_t, kChannelCount>& words) {
    SampleValues values{};
    for (int i = 0; i < kChannelCount; ++i) values[i] = static_cast<int16_t>(words[i]);
    return values;
}

const Addresses kFirst = {0x20000000, 0x20000002, 0x20000100, 0x0800FFFE};
const Addresses kSecond = {0x20000010, 0x20000013, 0x40011004, 0x00000000};
const Addresses kThird = {0xFFFFFFFF, 0x12345678, 0x20000010, 0x20000010};

TEST(MpuModuleCrc, IsTheScopesCrc) {
    Bytes bytes(255);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 167 + 13);
    for (size_t length = 0; length <= bytes.size(); ++length)
        ASSERT_EQ(ondrix_mpu_crc16(bytes.data(), length), CRC_CHECK(bytes.data(), static_cast<uint8_t>(length)))
            << length << " bytes";
    const Bytes check = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(ondrix_mpu_crc16(check.data(), check.size()), 0x4B37);
}

TEST(MpuModuleRequest, StartsWatchingAddressZero) {
    Board board;
    EXPECT_EQ(board.Watched(), (Addresses{0, 0, 0, 0}));
    EXPECT_EQ(ondrix_mpu_address(&board.mpu, 4), 0u);
}

// Each case starts with kFirst taken and then receives, period by period.
TEST(MpuModuleRequest, TakesWhatTheScopeSends) {
    struct Step {
        Bytes bytes;
        int periods;
    };
    const Bytes second = Request(kSecond);
    const Bytes third = Request(kThird);
    std::vector<Step> byteByByte;
    for (size_t i = 0; i < second.size(); ++i) byteByByte.push_back({Slice(second, i, i + 1), 499});
    const struct Case {
        const char* what;
        std::vector<Step> steps;
        const Addresses& watched;
    } cases[] = {
        {"a request switches the addresses", {{second, 1}}, kSecond},
        {"a request right after one taken is taken too", {{second, 0}, {third, 1}}, kThird},
        {"a request cut short is dropped after 500 silent periods",
         {{Slice(second, 0, 10), 500}, {third, 1}}, kThird},
        {"a single stray byte is dropped after 500 silent periods", {{Slice(third, 5, 6), 500}, {second, 1}}, kSecond},
        {"17 bytes are dropped after 500 silent periods", {{Slice(third, 0, 17), 500}, {second, 1}}, kSecond},
        {"a request cut short goes on after 499 silent periods",
         {{Slice(second, 0, 10), 499}, {Slice(second, 10, 18), 1}}, kSecond},
        {"so a new request after only 499 is out of step and dropped",
         {{Slice(second, 0, 10), 499}, {third, 1}}, kFirst},
        {"which 500 periods later is forgotten, and the next one taken",
         {{Slice(second, 0, 10), 499}, {third, 500}, {third, 1}}, kThird},
        {"every byte starts the silence anew", byteByByte, kSecond},
        {"a request split by frames", {{Slice(second, 0, 1), 3}, {Slice(second, 1, 9), 1}, {Slice(second, 9, 18), 2}},
         kSecond},
        {"500 silent periods after a request taken change nothing", {{second, 500}}, kSecond},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Board board;
        board.Receive(Request(kFirst));
        ASSERT_EQ(board.Watched(), kFirst);
        for (const Step& step : c.steps) {
            board.Receive(step.bytes);
            board.Periods(step.periods);
        }
        EXPECT_EQ(board.Watched(), c.watched);
    }
}

TEST(MpuModuleRequest, SplitAnywhereItIsTaken) {
    const Bytes second = Request(kSecond);
    for (size_t cut = 1; cut < second.size(); ++cut) {
        for (int periods : {1, 499}) {
            Board board;
            board.Receive(Slice(second, 0, cut));
            board.Periods(periods);
            board.Receive(Slice(second, cut, second.size()));
            EXPECT_EQ(board.Watched(), kSecond) << "cut after " << cut << " bytes, " << periods << " periods";
        }
    }
}

// Damage the CRC is sure to see, anywhere in the request: the request is dropped and the next
// byte starts a new one.
TEST(MpuModuleRequest, DamagedByteInAnyPositionIsIgnored) {
    const Bytes second = Request(kSecond);
    for (size_t at = 0; at < second.size(); ++at) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            SCOPED_TRACE("byte " + std::to_string(at) + " ^ " + Board::Hex(flip));
            Board board;
            board.Receive(Request(kFirst));
            Bytes damaged = second;
            damaged[at] ^= flip;
            board.Receive(damaged);
            board.Periods(1);
            EXPECT_EQ(board.Watched(), kFirst);
            board.Receive(Request(kThird));
            EXPECT_EQ(board.Watched(), kThird);
        }
    }
}

TEST(MpuModuleFrame, CarriesTheWordsReadAsTheScopeDecodesThem) {
    Board board;
    const Addresses watched = {0x20000000, 0x20000003, 0x08001234, 0x20000000};
    board.Receive(Request(watched));
    // Each period the words change: the edges of the 16-bit range, and words alike in both bytes.
    const std::vector<std::array<uint16_t, 3>> words = {
        {0x0001, 0xFFFF, 0x0100}, {0x8000, 0x7FFF, 0x0000}, {0xA5C3, 0x3CA5, 0x1234}, {0x0000, 0x0000, 0x0000},
        {0xFFFF, 0xFFFF, 0xFFFF}, {0x00FF, 0xFF00, 0x4B37},
    };
    std::vector<SampleValues> expected;
    for (const auto& w : words) {
        board.memory = {{watched[0], w[0]}, {watched[1], w[1]}, {watched[2], w[2]}};
        board.Periods(1);
        expected.push_back(Values({w[0], w[1], w[2], w[0]}));
    }
    // The last frame reaches the scope with the next one's first byte.
    board.Periods(1);

    const Received received = Assemble(board.line);
    EXPECT_EQ(received.frames, expected);
    EXPECT_EQ(received.statistics.skippedBytes, 0u);
    EXPECT_EQ(received.statistics.resyncs, 0u);
    // Four reads a period, in channel order, a channel watched twice read twice.
    std::vector<uint32_t> reads;
    for (size_t period = 0; period <= words.size(); ++period) reads.insert(reads.end(), watched.begin(), watched.end());
    EXPECT_EQ(board.reads, reads);
}

TEST(MpuModuleFrame, BeforeAnyRequestTheChannelsShowAddressZero) {
    Board board;
    board.Periods(2);
    const Received received = Assemble(board.line);
    ASSERT_EQ(received.frames.size(), 1u);
    const uint16_t word = Scattered(0);
    EXPECT_EQ(received.frames[0], Values({word, word, word, word}));
}

// The ranges below, and where a word is read: both of its bytes in one range.
const ondrix_mpu_range kRamAndFlash[] = {{0x20000000, 0x20004FFF}, {0x08000000, 0x0801FFFF}};
const ondrix_mpu_range kAdjacent[] = {{0x20000000, 0x20000FFF}, {0x20001000, 0x20001FFF}};
const ondrix_mpu_range kOneByte[] = {{0x20000000, 0x20000000}};
const ondrix_mpu_range kTwoBytes[] = {{0x20000000, 0x20000001}};
const ondrix_mpu_range kTop[] = {{0xFFFFFF00, 0xFFFFFFFF}};
const ondrix_mpu_range kBackwards[] = {{0x20001000, 0x20000000}};

TEST(MpuModuleReadable, ReadsOnlyWordsWhollyInsideARange) {
    const struct Case {
        const char* what;
        const ondrix_mpu_range* ranges;
        size_t count;
        uint32_t address;
        bool read;
    } cases[] = {
        {"the first word of a range", kRamAndFlash, 2, 0x20000000, true},
        {"the last whole word of a range", kRamAndFlash, 2, 0x20004FFE, true},
        {"an odd address inside", kRamAndFlash, 2, 0x20000101, true},
        {"a word in the second range", kRamAndFlash, 2, 0x0801FFFE, true},
        {"a word straddling the end of a range", kRamAndFlash, 2, 0x20004FFF, false},
        {"a word straddling the start of a range", kRamAndFlash, 2, 0x1FFFFFFF, false},
        {"a word outside every range", kRamAndFlash, 2, 0x40011004, false},
        {"a word in a range left out by the count", kRamAndFlash, 1, 0x08000000, false},
        {"a word across two adjacent ranges", kAdjacent, 2, 0x20000FFF, false},
        {"a word in the second of two adjacent ranges", kAdjacent, 2, 0x20001000, true},
        {"a word wider than a one-byte range", kOneByte, 1, 0x20000000, false},
        {"a word filling a two-byte range", kTwoBytes, 1, 0x20000000, true},
        {"the last word of the address space", kTop, 1, 0xFFFFFFFE, true},
        {"a word whose second byte would wrap to 0", kTop, 1, 0xFFFFFFFF, false},
        {"a range whose first byte comes after its last", kBackwards, 1, 0x20000800, false},
        {"no ranges: anywhere", nullptr, 0, 0x40011004, true},
        {"no ranges: even at the very top", nullptr, 0, 0xFFFFFFFF, true},
        {"a null list, whatever its count", nullptr, 2, 0x40011004, true},
        {"a count of 0", kRamAndFlash, 0, 0x40011004, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Board board(c.ranges, c.count);
        board.Receive(Request({c.address, c.address, c.address, c.address}));
        board.Periods(2);
        const Received received = Assemble(board.line);
        ASSERT_EQ(received.frames.size(), 1u);
        const uint16_t word = c.read ? board.Word(c.address) : 0;
        EXPECT_EQ(received.frames[0], Values({word, word, word, word}));
        EXPECT_EQ(board.reads, c.read ? std::vector<uint32_t>(8, c.address) : std::vector<uint32_t>{});
    }
}

TEST(MpuModuleReadable, DecidesForEachChannelOnItsOwn) {
    Board board(kRamAndFlash, 2);
    const Addresses watched = {0x20004FFF, 0x08000010, 0x40011004, 0x20000020};
    board.Receive(Request(watched));
    board.Periods(2);
    const Received received = Assemble(board.line);
    ASSERT_EQ(received.frames.size(), 1u);
    EXPECT_EQ(received.frames[0], Values({0, board.Word(watched[1]), 0, board.Word(watched[3])}));
    EXPECT_EQ(board.reads, (std::vector<uint32_t>{watched[1], watched[3], watched[1], watched[3]}));
}

// Without read_word the module reads the MPU's own memory at the address. Two pages mapped where
// a Cortex-M has its RAM, the second one unreadable: a read there would end the test with a
// fault, as it would stop the MPU. Even addresses only: a halfword read at an odd one is
// something the MPU's core may allow, which the host's undefined-behaviour checker does not.
TEST(MpuModuleReadable, OwnMemoryOutsideTheRangesIsNeverTouched) {
    constexpr uint32_t kBase = 0x20000000;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* mapped = mmap(reinterpret_cast<void*>(uintptr_t{kBase}), 2 * page, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (mapped != reinterpret_cast<void*>(uintptr_t{kBase})) {
        if (mapped != MAP_FAILED) munmap(mapped, 2 * page);
        GTEST_SKIP() << "no memory can be mapped at 0x20000000 here";
    }
    auto* memory = static_cast<uint8_t*>(mapped);
    const uint32_t lastByte = kBase + static_cast<uint32_t>(page) - 1;
    memory[0] = 0x34;
    memory[1] = 0x12;
    memory[0x100] = 0xCD;
    memory[0x101] = 0xAB;
    memory[0x102] = 0x5A;
    memory[page - 2] = 0x99;
    ASSERT_EQ(mprotect(memory + page, page, PROT_NONE), 0);

    const ondrix_mpu_range readable[] = {{kBase, lastByte}};
    struct Case {
        const char* what;
        const ondrix_mpu_range* ranges;
        size_t count;
        Addresses watched;
        SampleValues values;
    } cases[] = {
        {"inside, straddling into the unreadable page, in it", readable, 1,
         {kBase, kBase + 0x100, lastByte, lastByte + 1}, Values({0x1234, 0xABCD, 0, 0})},
        {"no ranges: read where asked", nullptr, 0, {kBase, kBase + 0x100, lastByte - 1, kBase + 0x102},
         Values({0x1234, 0xABCD, 0x0099, 0x005A})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes line;
        ondrix_mpu_config config{};
        config.put_byte = [](void* context, uint8_t byte) { static_cast<Bytes*>(context)->push_back(byte); };
        config.context = &line;
        config.readable = c.ranges;
        config.readable_count = c.count;
        ondrix_mpu mpu;
        ondrix_mpu_init(&mpu, &config);
        for (uint8_t byte : Request(c.watched)) ondrix_mpu_receive(&mpu, byte);
        ondrix_mpu_monitor(&mpu);
        for (int i = 0; i < 9; ++i) ondrix_mpu_transmit(&mpu);
        ASSERT_EQ(line.size(), kSampleFrameSize);
        EXPECT_TRUE(SampleFrameValid(line.data()));
        EXPECT_EQ(DecodeSampleValues(line.data()), c.values);
    }
    munmap(mapped, 2 * page);
}

TEST(MpuModuleTransmit, SendsTheFrameByteByByteThenTurnsTheInterruptOff) {
    Board board;
    board.Receive(Request(kFirst));
    ondrix_mpu_monitor(&board.mpu);
    const SampleFrame frame = EncodeSampleFrame(
        Values({board.Word(kFirst[0]), board.Word(kFirst[1]), board.Word(kFirst[2]), board.Word(kFirst[3])}));
    EXPECT_EQ(board.events, (std::vector<std::string>{"put " + Board::Hex(frame[0]), "on"}));

    std::vector<std::string> expected = board.events;
    for (size_t i = 1; i < frame.size(); ++i) {
        ondrix_mpu_transmit(&board.mpu);
        expected.push_back("put " + Board::Hex(frame[i]));
        EXPECT_TRUE(board.interruptOn || i == frame.size() - 1) << "off after byte " << i;
    }
    expected.push_back("off");
    EXPECT_EQ(board.events, expected);
    EXPECT_EQ(board.line, Bytes(frame.begin(), frame.end()));

    // An interrupt once the frame is out (one already raised when it was turned off) sends nothing.
    ondrix_mpu_transmit(&board.mpu);
    expected.push_back("off");
    EXPECT_EQ(board.events, expected);
}

TEST(MpuModuleTransmit, BeforeTheFirstPeriodSendsNothing) {
    Board board;
    ondrix_mpu_transmit(&board.mpu);
    EXPECT_EQ(board.events, std::vector<std::string>{"off"});
}

TEST(MpuModuleTransmit, ReceivingWhileAFrameGoesOutLeavesItWhole) {
    Board board;
    board.Receive(Request(kFirst));
    ondrix_mpu_monitor(&board.mpu);
    for (int i = 0; i < 4; ++i) ondrix_mpu_transmit(&board.mpu);
    board.Receive(Request(kSecond));
    for (int i = 0; i < 5; ++i) ondrix_mpu_transmit(&board.mpu);
    EXPECT_FALSE(board.interruptOn);
    board.Periods(2);

    const Received received = Assemble(board.line);
    ASSERT_EQ(received.frames.size(), 2u);
    EXPECT_EQ(received.frames[0], Values({board.Word(kFirst[0]), board.Word(kFirst[1]), board.Word(kFirst[2]),
                                          board.Word(kFirst[3])}));
    EXPECT_EQ(received.frames[1], Values({board.Word(kSecond[0]), board.Word(kSecond[1]), board.Word(kSecond[2]),
                                          board.Word(kSecond[3])}));
}

// A period too short for the frame: the next period cuts it short and starts its own, and the
// scope loses the broken frame and finds the rest.
TEST(MpuModuleTransmit, APeriodCutsShortTheFrameStillGoingOut) {
    Board board;
    board.Receive(Request(kFirst));
    std::vector<SampleValues> sent;
    const auto period = [&](uint16_t word, int interrupts) {
        board.memory = {{kFirst[0], word}};
        ondrix_mpu_monitor(&board.mpu);
        for (int i = 0; i < interrupts; ++i) ondrix_mpu_transmit(&board.mpu);
        sent.push_back(Values({word, board.Word(kFirst[1]), board.Word(kFirst[2]), board.Word(kFirst[3])}));
    };
    period(100, 9);
    period(200, 9);
    const size_t cutAt = board.line.size();
    period(300, 4);
    EXPECT_TRUE(board.interruptOn);
    period(400, 9);
    period(500, 9);
    period(600, 9);
    period(700, 0);

    // The cut frame's five bytes, then the next frame from its first.
    const SampleFrame next = EncodeSampleFrame(sent[3]);
    EXPECT_EQ(Slice(board.line, cutAt + 5, cutAt + 15), Bytes(next.begin(), next.end()));
    const Received received = Assemble(board.line);
    EXPECT_EQ(received.frames, (std::vector<SampleValues>{sent[0], sent[1], sent[3], sent[4], sent[5]}));
    EXPECT_EQ(received.statistics.resyncs, 1u);
}

}  // namespace
}  // namespace ondrix
