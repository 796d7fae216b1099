// The virtual MPU: its firmware routines, its memory and its runner on a real pseudo-terminal.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/WireProtocol.h"
#include "platform/PseudoTerminal.h"
#include "tools/mpu-sim/MemoryMap.h"
#include "tools/mpu-sim/MpuFirmware.h"
#include "tools/mpu-sim/VirtualMpu.h"

namespace ondrix::mpusim {
namespace {

using namespace std::chrono_literals;
using Addresses = std::array<uint32_t, 4>;
using Bytes = std::vector<uint8_t>;

RequestFrame Request(const Addresses& addresses) {
    std::array<ChannelRequest, kChannelCount> channels;
    for (int i = 0; i < kChannelCount; ++i) channels[i] = {addresses[i], true};
    return BuildRequestFrame(channels);
}

Bytes Slice(const RequestFrame& frame, size_t from, size_t to) { return Bytes(frame.begin() + from, frame.begin() + to); }

const Addresses kConstants = {kConstantOneAddress, kConstantMinusOneAddress, kConstant256Address,
                              kConstant4660Address};
// What the four constants above look like on the wire.
const SampleFrame kConstantsFrame = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x34, 0x12, 0x46, 0xD1};

// ---- Firmware --------------------------------------------------------------------------------

// The firmware with its UART played by hand: every byte it sends lands in `sent`.
class Bench {
public:
    Bench() = default;
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    void Receive(const Bytes& bytes) {
        for (uint8_t byte : bytes) mpu.voRxIsr(byte);
    }
    void Receive(const RequestFrame& frame) { Receive(Bytes(frame.begin(), frame.end())); }

    // One monitoring period with the transmit interrupt served until the frame is out.
    SampleFrame NextFrame() {
        sent.clear();
        mpu.voMonitor();
        while (mpu.TxInterruptEnabled()) mpu.voTxIsr();
        SampleFrame frame{};
        EXPECT_EQ(sent.size(), frame.size());
        std::copy_n(sent.begin(), std::min(sent.size(), frame.size()), frame.begin());
        return frame;
    }

    void SilentPeriods(int count) {
        for (int i = 0; i < count; ++i) NextFrame();
    }

    Bytes sent;
    MpuFirmware mpu{[this](uint8_t byte) { sent.push_back(byte); }};
};

TEST(Firmware, ReportsAddressZeroUntilAValidRequestArrives) {
    Bench bench;
    EXPECT_EQ(bench.mpu.ChannelAddresses(), (Addresses{0, 0, 0, 0}));
    EXPECT_EQ(bench.NextFrame(), EncodeSampleFrame({0, 0, 0, 0}));
}

TEST(Firmware, ValidRequestSelectsTheFourVariables) {
    Bench bench;
    bench.Receive(Request(kConstants));
    EXPECT_EQ(bench.mpu.ChannelAddresses(), kConstants);
    EXPECT_EQ(bench.NextFrame(), kConstantsFrame);

    // A later valid request replaces the addresses; each frame is one step of the monitor count.
    bench.Receive(Request({kSampleCounterAddress, kSineAddress, kSquareAddress, kConstant4660Address}));
    for (uint64_t k = bench.mpu.MonitorCount(); k < 1100; ++k) {
        const SampleFrame frame = bench.NextFrame();
        ASSERT_TRUE(SampleFrameValid(frame.data())) << "k = " << k;
        const SampleValues values = DecodeSampleValues(frame.data());
        EXPECT_EQ(values[0], static_cast<int16_t>(k));
        if (k == 250 || k == 1250) {
            EXPECT_EQ(values[1], 20000);
        }
        EXPECT_EQ(values[2], k % 1000 < 500 ? 15000 : -15000) << "k = " << k;
        EXPECT_EQ(values[3], 4660);
    }
}

TEST(Firmware, RequestWithABadCrcKeepsThePreviousAddresses) {
    Bench bench;
    for (size_t damaged : {0u, 7u, 15u, 16u, 17u}) {
        bench.Receive(Request(kConstants));
        RequestFrame bad = Request(kDemoAddresses);
        bad[damaged] ^= 0x01;
        bench.Receive(bad);
        EXPECT_EQ(bench.mpu.ChannelAddresses(), kConstants) << "damaged byte " << damaged;
        // The bad request was consumed whole: the next 18 bytes are a fresh request.
        bench.Receive(Request(kDemoAddresses));
        EXPECT_EQ(bench.mpu.ChannelAddresses(), kDemoAddresses) << "damaged byte " << damaged;
    }
}

TEST(Firmware, RequestCutShortIsDroppedAfter500SilentPeriods) {
    const RequestFrame first = Request(kConstants);
    const RequestFrame second = Request(kDemoAddresses);
    const Addresses none = {0, 0, 0, 0};
    // Bytes received, then that many monitoring periods without a byte.
    struct Step {
        Bytes bytes;
        int silentPeriods;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Addresses expected;
    } cases[] = {
        {"499 periods keep the start", {{Slice(first, 0, 10), 499}, {Slice(first, 10, 18), 0}}, kConstants},
        {"500 periods drop the start", {{Slice(first, 0, 10), 500}, {Slice(second, 0, 18), 0}}, kDemoAddresses},
        {"the rest alone is no request", {{Slice(first, 0, 10), 500}, {Slice(first, 10, 18), 0}}, none},
        {"a kept start spoils the next", {{Slice(first, 0, 10), 499}, {Slice(second, 0, 18), 0}}, none},
        {"each byte restarts the count",
         {{Slice(first, 0, 10), 400}, {Slice(first, 10, 11), 400}, {Slice(first, 11, 18), 0}},
         kConstants},
        {"a single byte is dropped too", {{Slice(first, 0, 1), 500}, {Slice(second, 0, 18), 0}}, kDemoAddresses},
    };
    for (const Case& c : cases) {
        Bench bench;
        for (const Step& step : c.steps) {
            bench.Receive(step.bytes);
            bench.SilentPeriods(step.silentPeriods);
        }
        EXPECT_EQ(bench.mpu.ChannelAddresses(), c.expected) << c.name;
    }
}

TEST(Firmware, MonitorSendsTheFirstByteAndTheInterruptTheOtherNine) {
    Bench bench;
    bench.Receive(Request(kConstants));
    bench.mpu.voMonitor();
    EXPECT_EQ(bench.sent, Bytes{kConstantsFrame[0]});
    for (size_t i = 1; i <= 9; ++i) {
        ASSERT_TRUE(bench.mpu.TxInterruptEnabled()) << "before byte " << i;
        bench.mpu.voTxIsr();
        EXPECT_EQ(bench.sent.size(), i + 1);
    }
    EXPECT_FALSE(bench.mpu.TxInterruptEnabled());
    EXPECT_EQ(bench.sent, Bytes(kConstantsFrame.begin(), kConstantsFrame.end()));
    // A late interrupt after the tenth byte sends nothing more.
    bench.mpu.voTxIsr();
    EXPECT_EQ(bench.sent.size(), 10u);
}

TEST(Firmware, UnalignedAndUnmappedAddressesReadAsAnMpuWould) {
    Bench bench;
    bench.Receive(Request({kConstantOneAddress + 1, kConstant4660Address + 1, 0xFFFFFFFF, 0x00000000}));
    EXPECT_EQ(DecodeSampleValues(bench.NextFrame().data()),
              (SampleValues{-256, static_cast<int16_t>(0xFF12), 0, 0}));
}

// ---- Memory map ------------------------------------------------------------------------------

TEST(MemoryMap, WordsAtAnyAddress) {
    const MemoryMap memory;  // at k = 0: the sample counter is 0, the cosine 20000 = 0x4E20
    struct Case {
        uint32_t address;
        uint16_t word;
    } cases[] = {
        {kConstantOneAddress + 1, 0xFF00},       // high byte of 1, low byte of -1
        {kConstant4660Address + 1, 0xFF12},      // high byte of 0x1234, low byte of 0x7FFF
        {kSampleCounterAddress + 1, 0x0100},     // high byte of 0, low byte of 1
        {kCosineAddress - 1, 0x2000},            // high byte of the sine (0), low byte of the cosine
        {kConstantMinAddress + 1, 0x0080},       // last mapped byte, then unmapped
        {kRamBase - 1, 0x0000},                  // unmapped, then the sine's low byte (0)
        {kRamBase + kRamSize, 0x0000},           // just past the block
        {0x00000000, 0x0000},
        {0x30000000, 0x0000},
        {0xFFFFFFFF, 0x0000},                    // wraps to address 0
    };
    for (const Case& c : cases) EXPECT_EQ(memory.ReadWord(c.address), c.word) << std::hex << c.address;
}

TEST(MemoryMap, ConstantsReadBackExactlyAtAnyCount) {
    struct Case {
        uint32_t address;
        int16_t value;
    } cases[] = {
        {kConstantOneAddress, 1},     {kConstantMinusOneAddress, -1}, {kConstant256Address, 256},
        {kConstant4660Address, 4660}, {kConstantMaxAddress, 32767},   {kConstantMinAddress, -32768},
    };
    MemoryMap memory;
    for (uint64_t k : {0ull, 1ull, 12345ull, 0xFFFFFFFFFFull}) {
        memory.Update(k);
        for (const Case& c : cases)
            EXPECT_EQ(static_cast<int16_t>(memory.ReadWord(c.address)), c.value) << std::hex << c.address;
    }
}

TEST(MemoryMap, WaveformsAtKnownCounts) {
    struct Case {
        uint32_t address;
        uint64_t k;
        int16_t value;
    } cases[] = {
        {kSineAddress, 0, 0},             {kSineAddress, 250, 20000},       {kSineAddress, 750, -20000},
        {kSineAddress, 1250, 20000},      {kCosineAddress, 0, 20000},       {kCosineAddress, 500, -20000},
        {kTriangleAddress, 0, 0},         {kTriangleAddress, 125, 10000},   {kTriangleAddress, 250, 20000},
        {kTriangleAddress, 750, -20000},  {kTriangleAddress, 1000, 0},      {kSquareAddress, 0, 15000},
        {kSquareAddress, 499, 15000},     {kSquareAddress, 500, -15000},    {kSquareAddress, 1000, 15000},
        {kSawtoothAddress, 0, -20000},    {kSawtoothAddress, 499, 19920},   {kSawtoothAddress, 500, -20000},
        {kDampedAddress, 0, 30000},       {kDampedAddress, 50, -26475}, {kDampedAddress, 2000, 30000},
        {kDampedAddress, 2050, -26475},
        {kSlowCounterAddress, 99, 0},     {kSlowCounterAddress, 100, 1},    {kSlowCounterAddress, 6553600, 0},
        {kSampleCounterAddress, 32767, 32767}, {kSampleCounterAddress, 32768, -32768},
        {kSampleCounterAddress, 65536, 0},
    };
    MemoryMap memory;
    for (const Case& c : cases) {
        memory.Update(c.k);
        EXPECT_EQ(static_cast<int16_t>(memory.ReadWord(c.address)), c.value) << std::hex << c.address << std::dec
                                                                               << " at k = " << c.k;
    }
}

// The scope's demo axis runs from -40000 to 40000; no waveform should come near its edge, and
// the noise must stay noise: bounded, centred, not stuck.
TEST(MemoryMap, WaveformsStayInsideTheirRange) {
    const uint32_t waveforms[] = {kSineAddress, kCosineAddress, kTriangleAddress, kSquareAddress,
                                  kSawtoothAddress, kNoiseAddress, kDampedAddress};
    MemoryMap memory;
    double noiseSum = 0;
    int noiseMin = 0, noiseMax = 0;
    const int count = 5000;
    for (int k = 0; k < count; ++k) {
        memory.Update(k);
        for (uint32_t address : waveforms)
            ASSERT_LE(std::abs(static_cast<int16_t>(memory.ReadWord(address))), 30000) << std::hex << address;
        const int noise = static_cast<int16_t>(memory.ReadWord(kNoiseAddress));
        ASSERT_LE(std::abs(noise), 10000);
        noiseSum += noise;
        noiseMin = std::min(noiseMin, noise);
        noiseMax = std::max(noiseMax, noise);
    }
    EXPECT_LT(std::abs(noiseSum / count), 500);
    EXPECT_LT(noiseMin, -9000);
    EXPECT_GT(noiseMax, 9000);
}

// ---- Scheduling ------------------------------------------------------------------------------

TEST(VirtualMpuSchedule, CatchesUpAtMost100PeriodsAndSkipsTheRest) {
    const std::chrono::nanoseconds period = 1ms;
    struct Case {
        std::chrono::nanoseconds lateness;
        uint64_t run, skipped;
    } cases[] = {
        {0ns, 1, 0},       {999us, 1, 0},     {1ms, 2, 0},           {99ms, 100, 0},
        {99999us, 100, 0}, {100ms, 100, 1},   {10s, 100, 9901},
    };
    for (const Case& c : cases) {
        const DuePeriods due = PeriodsDue(c.lateness, period);
        EXPECT_EQ(due.run, c.run) << c.lateness.count() << " ns late";
        EXPECT_EQ(due.skipped, c.skipped) << c.lateness.count() << " ns late";
    }
}

TEST(LineNoise, CorruptsToADifferentByteAndDropsByRate) {
    Bytes all;
    for (int round = 0; round < 4; ++round)
        for (int value = 0; value < 256; ++value) all.push_back(static_cast<uint8_t>(value));
    struct Case {
        double corrupt, drop;
    } cases[] = {{0, 0}, {1, 0}, {0, 1}};
    for (const Case& c : cases) {
        LineNoise noise(c.corrupt, c.drop, 3);
        const Bytes out = noise.Apply(all.data(), all.size());
        if (c.drop == 1) {
            EXPECT_TRUE(out.empty());
            continue;
        }
        ASSERT_EQ(out.size(), all.size()) << "corrupt " << c.corrupt;
        for (size_t i = 0; i < all.size(); ++i)
            ASSERT_EQ(out[i] != all[i], c.corrupt == 1) << "corrupt " << c.corrupt << ", byte " << i;
    }
}

TEST(VirtualMpuOptionsCheck, RejectsImpossibleSettings) {
    const auto make = [](VirtualMpuOptions options) { VirtualMpu mpu(-1, options); };
    EXPECT_THROW(make({0us, 0, 0, 1}), std::invalid_argument);
    EXPECT_THROW(make({-1us, 0, 0, 1}), std::invalid_argument);
    EXPECT_THROW(make({1ms, 1.5, 0, 1}), std::invalid_argument);
    EXPECT_THROW(make({1ms, 0, -0.1, 1}), std::invalid_argument);
    EXPECT_NO_THROW(make({1ms, 1, 1, 1}));
}

// ---- Runner on a pseudo-terminal -------------------------------------------------------------

// The scope's end of the line: the pseudo-terminal's slave, opened non-blocking.
class ScopeEnd {
public:
    explicit ScopeEnd(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~ScopeEnd() { close(fd_); }
    ScopeEnd(const ScopeEnd&) = delete;
    ScopeEnd& operator=(const ScopeEnd&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    void Write(const RequestFrame& frame) { ASSERT_EQ(write(fd_, frame.data(), frame.size()), ssize_t(frame.size())); }

    // Reads until `received` holds `count` bytes or `timeout` passes.
    void ReadUntil(size_t count, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (received.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd p{fd_, POLLIN, 0};
            poll(&p, 1, 10);
            uint8_t buffer[4096];
            const ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n > 0) received.insert(received.end(), buffer, buffer + n);
        }
    }
    // Reads until nothing more has arrived for `quiet`.
    void ReadUntilQuiet(std::chrono::milliseconds quiet) {
        for (size_t before = SIZE_MAX; before != received.size();) {
            before = received.size();
            ReadUntil(SIZE_MAX, quiet);
        }
    }

    Bytes received;

private:
    int fd_;
};

// Runs a VirtualMpu on its own thread until destroyed or stopped.
class BackgroundRun {
public:
    explicit BackgroundRun(VirtualMpu& mpu)
        : thread_([this, &mpu] {
              try {
                  mpu.Run(stop_);
              } catch (const std::exception& error) {
                  error_ = error.what();
              }
          }) {}
    ~BackgroundRun() { Stop(); }

    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // What Run threw, once stopped.
    const std::string& Error() const { return error_; }

private:
    std::atomic<bool> stop_{false};
    std::string error_;
    std::thread thread_;
};

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// True when `frame` occurs anywhere in `stream`, at any byte offset.
bool Contains(const Bytes& stream, const SampleFrame& frame) {
    return std::search(stream.begin(), stream.end(), frame.begin(), frame.end()) != stream.end();
}

TEST(VirtualMpuRunner, SendsValidFramesInSequenceAtThePeriod) {
    PseudoTerminal pty;
    ScopeEnd scope(pty.SlavePath());
    ASSERT_TRUE(scope.IsOpen());
    scope.Write(Request({kSampleCounterAddress, kSineAddress, kConstant4660Address, kConstantMinAddress}));
    // The request must be waiting on the master before the first period, so that frame 0 has it.
    pollfd p{pty.MasterFd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 2000), 1);

    VirtualMpu mpu(pty.MasterFd(), {1ms});
    const auto start = std::chrono::steady_clock::now();
    BackgroundRun run(mpu);
    scope.ReadUntil(2000, 5000ms);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Stop();

    ASSERT_EQ(run.Error(), "");
    ASSERT_GE(scope.received.size(), 2000u);
    EXPECT_GT(seconds, 0.15);
    EXPECT_LT(seconds, 2.0);
    for (size_t i = 0; i < 200; ++i) {
        const uint8_t* frame = &scope.received[10 * i];
        ASSERT_TRUE(SampleFrameValid(frame)) << "frame " << i;
        const SampleValues values = DecodeSampleValues(frame);
        EXPECT_EQ(values[0], static_cast<int16_t>(i));
        EXPECT_EQ(values[2], 4660);
        EXPECT_EQ(values[3], -32768);
    }
    EXPECT_GE(mpu.FramesSent(), 200u);
}

TEST(VirtualMpuRunner, RequestFromTheScopeChangesTheVariablesSent) {
    PseudoTerminal pty;
    ScopeEnd scope(pty.SlavePath());
    VirtualMpu mpu(pty.MasterFd(), {1ms});
    BackgroundRun run(mpu);

    scope.ReadUntil(100, 2000ms);
    ASSERT_GE(scope.received.size(), 100u);
    const SampleFrame zeros = EncodeSampleFrame({0, 0, 0, 0});
    EXPECT_TRUE(std::equal(zeros.begin(), zeros.end(), scope.received.begin())) << "address 0 reads 0";

    scope.Write(Request(kConstants));
    EXPECT_TRUE(WaitFor(
        [&] {
            scope.ReadUntil(SIZE_MAX, 5ms);
            return Contains(scope.received, kConstantsFrame);
        },
        3000ms));
    run.Stop();
    EXPECT_EQ(run.Error(), "");
}

// Runs 250 frames or a few more, reading all the while so that nothing is lost to a full line.
struct NoisyRun {
    Bytes clean;     // the frames as the firmware sent them
    Bytes received;  // what reached the scope
    uint64_t framesSent = 0;
    std::string error;
};

NoisyRun RunWithNoise(double corruptRate, double dropRate) {
    NoisyRun result;
    PseudoTerminal pty;
    ScopeEnd scope(pty.SlavePath());
    std::mutex cleanMutex;
    VirtualMpu mpu(pty.MasterFd(), {200us, corruptRate, dropRate, 7}, [&](const SampleFrame& frame) {
        const std::lock_guard<std::mutex> lock(cleanMutex);
        result.clean.insert(result.clean.end(), frame.begin(), frame.end());
    });
    BackgroundRun run(mpu);
    WaitFor(
        [&] {
            scope.ReadUntil(SIZE_MAX, 5ms);
            return mpu.FramesSent() >= 250;
        },
        10000ms);
    run.Stop();
    scope.ReadUntilQuiet(100ms);
    result.received = scope.received;
    result.framesSent = mpu.FramesSent();
    result.error = run.Error();
    return result;
}

TEST(VirtualMpuRunner, CorruptionChangesBytesAtTheRateAndLeavesIntactFramesFindable) {
    const NoisyRun run = RunWithNoise(0.05, 0);
    ASSERT_EQ(run.error, "");
    ASSERT_GE(run.framesSent, 250u);
    EXPECT_EQ(run.clean.size(), 10 * run.framesSent);
    ASSERT_EQ(run.received.size(), run.clean.size());

    size_t changed = 0, intactFrames = 0;
    for (size_t f = 0; f + 10 <= run.clean.size(); f += 10) {
        size_t changedHere = 0;
        for (size_t i = f; i < f + 10; ++i) changedHere += run.received[i] != run.clean[i];
        changed += changedHere;
        const bool valid = SampleFrameValid(&run.received[f]);
        // The CRC always catches a single damaged byte and never rejects an intact frame.
        if (changedHere == 0) {
            EXPECT_TRUE(valid) << "frame " << f / 10;
        } else if (changedHere == 1) {
            EXPECT_FALSE(valid) << "frame " << f / 10;
        }
        intactFrames += changedHere == 0;
    }
    const double rate = double(changed) / run.clean.size();
    EXPECT_GT(rate, 0.025);
    EXPECT_LT(rate, 0.09);
    // 0.95^10: about 60 % of the frames get through untouched.
    EXPECT_GT(intactFrames, run.framesSent * 4 / 10);
    EXPECT_LT(intactFrames, run.framesSent * 8 / 10);
}

TEST(VirtualMpuRunner, DroppedBytesAreLeftOutOfTheStream) {
    const NoisyRun run = RunWithNoise(0, 0.1);
    ASSERT_EQ(run.error, "");
    ASSERT_GE(run.framesSent, 250u);
    const double kept = double(run.received.size()) / run.clean.size();
    EXPECT_GT(kept, 0.85);
    EXPECT_LT(kept, 0.95);
    // Left out, not changed: what arrives is the clean stream with holes.
    size_t at = 0;
    for (uint8_t byte : run.received) {
        while (at < run.clean.size() && run.clean[at] != byte) ++at;
        ASSERT_LT(at, run.clean.size()) << "a received byte that was never sent";
        ++at;
    }
}

TEST(VirtualMpuRunner, KeepsRunningWhenNobodyReads) {
    PseudoTerminal pty;
    VirtualMpu mpu(pty.MasterFd(), {10us});
    BackgroundRun run(mpu);
    // Far more than the line can hold: the writes beyond it fail and the bytes are lost.
    EXPECT_TRUE(WaitFor([&] { return mpu.FramesSent() >= 20000; }, 30000ms));
    run.Stop();
    EXPECT_EQ(run.Error(), "");

    ScopeEnd scope(pty.SlavePath());
    scope.ReadUntilQuiet(100ms);
    EXPECT_LT(scope.received.size(), 10 * mpu.FramesSent());
}

TEST(VirtualMpuRunner, KeepsRunningWithoutAnyoneOnTheLine) {
    // A master whose slave has been opened and closed again reads EIO: the scope has gone.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    close(open(ptsname(master), O_RDWR | O_NOCTTY));
    char probe;
    ASSERT_EQ(read(master, &probe, 1), -1);
    ASSERT_EQ(errno, EIO);
    {
        VirtualMpu mpu(master, {1ms});
        BackgroundRun run(mpu);
        EXPECT_TRUE(WaitFor([&] { return mpu.FramesSent() >= 20; }, 5000ms));
        run.Stop();
        EXPECT_EQ(run.Error(), "");
    }
    close(master);
}

// One period stalls for 300 ms. With absolute deadlines the runner then sends the 100 periods
// it may catch up at once and skips the other 200; either fault shows in the frames' times: a
// runner that sleeps a period after each frame has no burst, one without a limit a longer one.
TEST(VirtualMpuRunner, CatchesUpAfterAStallButAtMost100Periods) {
    using Clock = std::chrono::steady_clock;
    PseudoTerminal pty;
    std::vector<Clock::time_point> times;  // written by the runner's thread, read after Stop
    VirtualMpu mpu(pty.MasterFd(), {1ms}, [&](const SampleFrame&) {
        times.push_back(Clock::now());
        if (times.size() == 10) std::this_thread::sleep_for(300ms);
    });
    BackgroundRun run(mpu);
    EXPECT_TRUE(WaitFor([&] { return mpu.FramesSent() >= 230; }, 10000ms));
    run.Stop();
    ASSERT_EQ(run.Error(), "");
    ASSERT_GE(times.size(), 230u);
    EXPECT_LT(times[105] - times[10], 60ms) << "the missed periods come at once";
    EXPECT_GT(times[220] - times[112], 60ms) << "then the period holds again";
}

TEST(VirtualMpuRunner, StopsPromptlyEvenWithALongPeriod) {
    PseudoTerminal pty;
    VirtualMpu mpu(pty.MasterFd(), {10s});
    BackgroundRun run(mpu);
    ASSERT_TRUE(WaitFor([&] { return mpu.FramesSent() == 1; }, 2000ms)) << "the first period starts at once";
    const auto start = std::chrono::steady_clock::now();
    run.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(mpu.FramesSent(), 1u);
}

}  // namespace
}  // namespace ondrix::mpusim
