#include "acquisition/AcquisitionSession.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "PortLinks.h"
#include "RecordingNotifier.h"
#include "ScopeRig.h"
#include "acquisition/QuietBeforeRequest.h"
#include "platform/EventLoop.h"
#include "platform/PseudoTerminal.h"
#include "tools/mpu-sim/MemoryMap.h"

namespace ondrix {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Point {
    double x, y;
    bool null = false;
    bool operator==(const Point& other) const { return x == other.x && y == other.y && null == other.null; }
};

class FakeChannel : public ChannelSink {
public:
    void Clear() override { points.clear(); }
    void AddXY(double x, double y) override {
        EXPECT_EQ(std::this_thread::get_id(), owner) << "channel touched off the owner's thread";
        points.push_back({x, y});
    }
    void AddNull(double x) override {
        EXPECT_EQ(std::this_thread::get_id(), owner) << "channel touched off the owner's thread";
        points.push_back({x, 0, true});
    }
    bool Visible() const override { return visible; }
    void SetVisible(bool value) override { visible = value; }

    std::vector<Point> points;
    bool visible = true;
    std::thread::id owner = std::this_thread::get_id();
};

class FakeHost : public SessionHost {
public:
    std::array<bool, kChannelCount> ChannelSwitches() const override {
        std::array<bool, kChannelCount> switches{};
        for (int c = 0; c < kChannelCount; ++c) switches[c] = requests[c].on;
        return switches;
    }
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override {
        if (boxesConvertible) return requests;
        return std::nullopt;
    }
    void SessionReset() override {
        ++resets;
        watched.clear();
    }
    void SessionStateChanged(bool running) override { states.push_back(running); }
    void SessionDeviceLost(int portNumber, const std::string& reason) override {
        losses.push_back("COM" + std::to_string(portNumber) + ": " + reason);
    }
    void SessionDeviceRejoined() override { ++rejoins; }
    void SessionReopened() override { ++reopens; }
    void SessionLinkChanged() override { ++linkChanges; }
    // Every batch follows on from the one before at the X its first frame got; each gap takes
    // one X of its own.
    void SessionSamplesAppended(double firstX, const std::vector<SampleValues>& frames) override {
        if (watched.empty()) watchedFromX = firstX;
        EXPECT_EQ(firstX, watchedFromX + static_cast<double>(watched.size()) + rejoins + reopens);
        watched.insert(watched.end(), frames.begin(), frames.end());
    }

    std::array<ChannelRequest, kChannelCount> requests = {{{mpusim::kSampleCounterAddress, true},
                                                           {mpusim::kSineAddress, true},
                                                           {mpusim::kConstantMinAddress, true},
                                                           {mpusim::kConstant4660Address, true}}};
    bool boxesConvertible = true;
    int resets = 0;
    std::vector<bool> states;
    std::vector<std::string> losses;
    int rejoins = 0;
    int reopens = 0;
    int linkChanges = 0;
    double watchedFromX = 0;
    std::vector<SampleValues> watched;
};

// The session with its real link and loop, on COM1 of the given ports folder.
struct SessionFixture {
    explicit SessionFixture(const std::string& portsFolder, uint32_t screenWidth = 1000,
                            BuiltInPortRule builtIn = BuiltInPortPath)
        : link(settings, notifier, PortResolverForFolder(portsFolder, std::move(builtIn))),
          session(link, loop, host, {&channels[0], &channels[1], &channels[2], &channels[3]}) {
        session.SetScreenWidth(screenWidth);
    }

    // Runs the loop until channel 0 holds `points` points.
    bool WaitForPoints(size_t points, std::chrono::seconds timeout = 10s) {
        return loop.RunUntil([&] { return channels[0].points.size() >= points; }, timeout);
    }

    PortSettings settings;
    RecordingNotifier notifier;
    SerialLink link;
    EventLoop loop;
    FakeHost host;
    FakeChannel channels[kChannelCount];
    AcquisitionSession session;
};

// The values each delivered sample carried, channel by channel, after the prefill.
std::vector<SampleValues> Delivered(const SessionFixture& f, size_t prefill) {
    std::vector<SampleValues> samples;
    for (size_t i = prefill; i < f.channels[0].points.size(); ++i) {
        SampleValues values{};
        for (int c = 0; c < kChannelCount; ++c) values[c] = static_cast<int16_t>(f.channels[c].points[i].y);
        samples.push_back(values);
    }
    return samples;
}

TEST(AcquisitionSession, SamplesArriveInOrderAfterOneScreenOfZeros) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), AcquisitionSession::kDefaultScreenWidth);
    f.session.Run();
    ASSERT_TRUE(f.session.Running()) << (f.notifier.messages.empty() ? "" : f.notifier.messages[0]);
    EXPECT_EQ(f.host.states, std::vector<bool>{true});
    EXPECT_EQ(f.host.resets, 1);

    ASSERT_TRUE(f.WaitForPoints(50000 + 200));
    f.session.Stop();
    EXPECT_EQ(f.host.states, (std::vector<bool>{true, false}));
    EXPECT_FALSE(f.link.IsOpen());

    for (const FakeChannel& channel : f.channels) {
        ASSERT_EQ(channel.points.size(), f.channels[0].points.size());
        for (size_t i = 0; i < channel.points.size(); ++i) {
            ASSERT_EQ(channel.points[i].x, static_cast<double>(i)) << i;
            if (i < 50000) {
                ASSERT_EQ(channel.points[i].y, 0.0) << i;
            }
        }
        EXPECT_TRUE(channel.visible);
    }
    // The MPU reports what was asked for: its frame counter without a gap (a clean line loses
    // nothing), and the two constants.
    const auto samples = Delivered(f, 50000);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (i > 0) {
            ASSERT_EQ(static_cast<uint16_t>(samples[i][0] - samples[i - 1][0]), 1) << i;
        }
        ASSERT_EQ(samples[i][2], -32768);
        ASSERT_EQ(samples[i][3], 4660);
    }
    EXPECT_EQ(f.session.SampleCounter(), f.channels[0].points.size());
    EXPECT_EQ(f.host.watchedFromX, 50000);
    EXPECT_EQ(f.host.watched, samples) << "the host watches exactly the samples the channels got";
}

TEST(AcquisitionSession, StopThenRunClearsAndRestartsX) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 100);
    f.session.Run();
    ASSERT_TRUE(f.WaitForPoints(300));
    f.session.Stop();
    const size_t kept = f.channels[0].points.size();
    f.loop.RunPending();
    EXPECT_EQ(f.channels[0].points.size(), kept) << "channels keep their points after Stop, and no more arrive";

    f.session.Run();
    ASSERT_TRUE(f.session.Running());
    EXPECT_EQ(f.host.resets, 2);
    ASSERT_TRUE(f.WaitForPoints(110));
    EXPECT_EQ(f.channels[0].points[0], (Point{0, 0}));
    EXPECT_EQ(f.channels[0].points[100].x, 100.0);
    f.session.Stop();
}

TEST(AcquisitionSession, BatchesOfAStoppedSessionAreDropped) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    f.session.Run();
    ASSERT_TRUE(f.session.Running());
    // Ticks post batches that nobody runs yet: once the request is out the MPU streams what it
    // asks for, and a few ticks pass over those frames.
    const auto deadline = Clock::now() + 5s;
    const auto waitFor = [&](const std::function<bool()>& done) {
        while (!done() && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
    };
    waitFor([&] { return mpu.BytesReceived() >= kRequestFrameSize; });
    const size_t sentBeforeTheRequest = mpu.Sent().size();
    waitFor([&] { return mpu.Sent().size() >= sentBeforeTheRequest + 20; });
    std::this_thread::sleep_for(5 * AcquisitionSession::kTickPeriod);
    f.session.Stop();
    // A clean line loses no device, so every task queued is a batch of samples.
    EXPECT_GE(f.loop.RunPending(), 1u) << "no batch was queued before Stop";
    for (const FakeChannel& channel : f.channels) EXPECT_EQ(channel.points.size(), 10u) << "only the prefill";
}

TEST(AcquisitionSession, SwitchedOffChannelStillReceivesEverySample) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    f.host.requests[1].on = false;
    f.session.Run();
    ASSERT_TRUE(f.WaitForPoints(60));
    f.session.Stop();
    EXPECT_FALSE(f.channels[1].visible);
    EXPECT_TRUE(f.channels[0].visible);
    EXPECT_EQ(f.channels[1].points.size(), f.channels[0].points.size());
    // The MPU reads address 0 for it, which holds nothing.
    for (const auto& values : Delivered(f, 10)) EXPECT_EQ(values[1], 0);
}

TEST(AcquisitionSession, DamagedLineDeliversOnlyWhatTheMpuSent) {
    mpusim::VirtualMpuOptions options;
    options.corruptRate = 0.01;
    options.dropRate = 0.01;
    options.seed = 20261210;
    test::VirtualMpuRig mpu(options);
    SessionFixture f(mpu.PortsFolder(), 10);
    f.host.requests = {{{mpusim::kSampleCounterAddress, true}, {mpusim::kSineAddress, true},
                        {mpusim::kNoiseAddress, true}, {mpusim::kDampedAddress, true}}};
    f.session.Run();
    ASSERT_TRUE(f.WaitForPoints(10 + 1500));
    f.session.Stop();

    // In order, each one a frame the MPU built: a subsequence of what it sent. A window that
    // passes the CRC by chance while the assembler searches is held until the next frame
    // confirms it, so none gets through; what the CRC itself cannot see (a frame damaged in two
    // bytes that still passes, about one in 8,600 of those) leaves this run one stranger in a few
    // hundred runs. Two would be the assembler's fault.
    const auto sent = mpu.Sent();
    const auto delivered = Delivered(f, 10);
    auto next = sent.begin();
    int strangers = 0;
    for (const SampleValues& values : delivered) {
        const auto found = std::find(next, sent.end(), values);
        if (found == sent.end()) {
            ++strangers;
            continue;
        }
        next = found + 1;
    }
    EXPECT_LE(strangers, 1);
    // About 10 % of the frames have a damaged byte and as many a lost one; most get through. The
    // wait ends at the batch that brings the 1500th, so exactly 1500 is a full count.
    EXPECT_GE(delivered.size(), 1500u);
}

TEST(AcquisitionSession, PortThatCannotBeOpenedLeavesTheSessionStopped) {
    test::TemporaryFolder ports;
    SessionFixture f(ports.Path().string(), 20);
    std::filesystem::create_symlink(ports.Path() / "missing-device", ports.Path() / "COM1");
    f.session.Run();
    EXPECT_FALSE(f.session.Running());
    EXPECT_EQ(f.notifier.messages, std::vector<std::string>{"Open COM1 Err!\n" + (ports.Path() / "COM1").string() + ": " +
                                                            std::generic_category().message(ENOENT)});
    EXPECT_TRUE(f.host.states.empty()) << "buttons and caption unchanged";
    for (const FakeChannel& channel : f.channels) EXPECT_EQ(channel.points.size(), 20u) << "the prefill stays";
}

TEST(AcquisitionSession, UnconvertibleAddressAbandonsTheStartAndClosesThePort) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 20);
    f.host.boxesConvertible = false;
    f.session.Run();
    EXPECT_FALSE(f.session.Running());
    EXPECT_FALSE(f.link.IsOpen());
    EXPECT_TRUE(f.host.states.empty());
    std::this_thread::sleep_for(100ms);
    f.loop.RunPending();
    EXPECT_EQ(f.channels[0].points.size(), 20u);
}

// ---- a device that goes away --------------------------------------------------------------

// The delivered samples are one unbroken run of what the MPU sent.
void ExpectAnUnbrokenRunOfSentFrames(const std::vector<SampleValues>& delivered, const std::vector<SampleValues>& sent) {
    ASSERT_FALSE(delivered.empty());
    const auto first = std::find(sent.begin(), sent.end(), delivered.front());
    ASSERT_NE(first, sent.end());
    ASSERT_LE(delivered.size(), static_cast<size_t>(sent.end() - first));
    EXPECT_TRUE(std::equal(delivered.begin(), delivered.end(), first));
}

// The samples of a channel with the index of each Null point.
std::vector<size_t> NullPoints(const FakeChannel& channel) {
    std::vector<size_t> nulls;
    for (size_t i = 0; i < channel.points.size(); ++i)
        if (channel.points[i].null) nulls.push_back(i);
    return nulls;
}

// Runs until 200 samples came, then pulls the device out and waits until the session has told
// its host.
void RunAndLoseTheDevice(SessionFixture& f, test::VirtualMpuRig& mpu) {
    f.session.Run();
    ASSERT_TRUE(f.WaitForPoints(10 + 200));
    mpu.Unplug();
    const auto unplugged = Clock::now();
    ASSERT_TRUE(f.loop.RunUntil([&] { return !f.host.losses.empty(); }, 5s));
    EXPECT_LT(Clock::now() - unplugged, 1s);
}

TEST(AcquisitionSession, LostDeviceIsToldAtOnceAndWhatArrivedIsKept) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    ASSERT_NO_FATAL_FAILURE(RunAndLoseTheDevice(f, mpu));
    EXPECT_EQ(f.host.losses, std::vector<std::string>{"COM1: the device hung up"});
    EXPECT_TRUE(f.session.Running()) << "still running: it waits for the device";
    EXPECT_TRUE(f.session.WaitingForDevice());
    EXPECT_FALSE(f.link.IsOpen()) << "the dead device is released at once";
    EXPECT_EQ(f.host.states, std::vector<bool>{true});

    f.loop.RunUntil([] { return false; }, 700ms);
    ExpectAnUnbrokenRunOfSentFrames(Delivered(f, 10), mpu.Sent());
    for (const FakeChannel& channel : f.channels) EXPECT_TRUE(NullPoints(channel).empty());
    EXPECT_EQ(f.session.Statistics().losses, 1u);
    EXPECT_EQ(f.session.Statistics().rejoins, 0u);

    f.session.Stop();
    EXPECT_FALSE(f.session.WaitingForDevice());
    EXPECT_EQ(f.host.states, (std::vector<bool>{true, false}));
}

// The MPU comes back behind the same COM1 (a new device, its counter from 0): the session
// rejoins it by itself, and the gap is one Null point per channel with an X of its own.
TEST(AcquisitionSession, RejoinedDeviceCarriesOnAfterAOnePointGap) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    ASSERT_NO_FATAL_FAILURE(RunAndLoseTheDevice(f, mpu));
    mpu.PlugIn();
    const auto pluggedIn = Clock::now();
    ASSERT_TRUE(f.loop.RunUntil([&] { return f.host.rejoins == 1; }, 5s));
    EXPECT_LT(Clock::now() - pluggedIn, AcquisitionSession::kRejoinInterval + 1s);
    EXPECT_FALSE(f.session.WaitingForDevice());
    const size_t atRejoin = f.channels[0].points.size();
    ASSERT_TRUE(f.WaitForPoints(atRejoin + 200));
    f.session.Stop();
    const auto newMpuRan = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pluggedIn);

    const std::vector<size_t> nulls = NullPoints(f.channels[0]);
    ASSERT_EQ(nulls.size(), 1u);
    const size_t gap = nulls[0];
    EXPECT_EQ(gap, atRejoin - 1) << "the gap comes before the first sample of the new device";
    for (const FakeChannel& channel : f.channels) {
        ASSERT_EQ(channel.points.size(), f.channels[0].points.size());
        EXPECT_EQ(NullPoints(channel), nulls);
        for (size_t i = 0; i < channel.points.size(); ++i) ASSERT_EQ(channel.points[i].x, static_cast<double>(i)) << i;
    }
    EXPECT_EQ(f.session.SampleCounter(), f.channels[0].points.size());

    // Before the gap the first MPU, after it the second, each without a lost frame; the
    // request was sent again, so the new MPU reports the same addresses.
    const auto samples = Delivered(f, 10);
    const std::vector<SampleValues> before(samples.begin(), samples.begin() + static_cast<long>(gap - 10));
    const std::vector<SampleValues> after(samples.begin() + static_cast<long>(gap - 10 + 1), samples.end());
    ExpectAnUnbrokenRunOfSentFrames(before, mpu.Sent());
    ExpectAnUnbrokenRunOfSentFrames(after, mpu.Sent());
    // One frame per millisecond: no sample after the gap counts further than the new MPU has run.
    EXPECT_LE(static_cast<uint16_t>(after.front()[0]), newMpuRan.count()) << "the new MPU counts from 0";
    EXPECT_EQ(after.front()[3], 4660);
    EXPECT_EQ(f.session.Statistics().losses, 1u);
    EXPECT_EQ(f.session.Statistics().rejoins, 1u);
}

TEST(AcquisitionSession, StopEndsTheWaitForALostDevice) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    ASSERT_NO_FATAL_FAILURE(RunAndLoseTheDevice(f, mpu));

    const auto stopping = Clock::now();
    f.session.Stop();
    EXPECT_LT(Clock::now() - stopping, 300ms);
    EXPECT_FALSE(f.session.Running());
    EXPECT_FALSE(f.session.WaitingForDevice());

    mpu.PlugIn();
    f.loop.RunUntil([] { return false; }, AcquisitionSession::kRejoinInterval + 300ms);
    EXPECT_FALSE(f.link.IsOpen()) << "no attempt after Stop";
    EXPECT_EQ(f.host.rejoins, 0);
}

// The request takes about 100 ms to go out (the line settles, then 18 bytes with a pause after
// each). It goes out on the acquisition thread, so the owner's loop keeps turning meanwhile.
TEST(AcquisitionSession, TheOwnersLoopKeepsTurningWhileTheRequestGoesOut) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10);
    f.session.Run();
    ASSERT_TRUE(f.session.Running());
    EXPECT_LT(mpu.BytesReceived(), kRequestFrameSize) << "Run waited for the request to go out";

    int turns = 0;
    std::function<void()> turn = [&] {
        ++turns;
        std::this_thread::sleep_for(1ms);
        f.loop.Post(turn);
    };
    f.loop.Post(turn);
    ASSERT_TRUE(f.loop.RunUntil([&] { return mpu.BytesReceived() >= kRequestFrameSize; }, 5s));
    EXPECT_GE(turns, 10) << "the loop stood still while the request went out";
    ASSERT_TRUE(f.WaitForPoints(10 + 1));
    // The first sample already reports what was asked for: request, purge, then ticks.
    const SampleValues first = Delivered(f, 10).front();
    EXPECT_EQ(first[2], -32768);
    EXPECT_EQ(first[3], 4660);
    f.session.Stop();
}

// ---- the request and the quiet line before it -----------------------------------------------

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    for (const auto deadline = Clock::now() + timeout; !condition();) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The line as `stty sane` leaves it: cooked and echoing, so that whatever the MPU sends comes
// back to it as received bytes until the scope makes the line raw.
void LeaveInItsDefaultState(const std::string& device) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << device;
    termios state{};
    ASSERT_EQ(tcgetattr(fd, &state), 0);
    state.c_iflag |= BRKINT | ICRNL | IMAXBEL;
    state.c_oflag |= OPOST | ONLCR;
    state.c_lflag |= ISIG | ICANON | IEXTEN | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &state), 0);
    close(fd);
}

// The MPU has heard its own frames echoed, so its receive count is anywhere when the request
// comes; only 500 quiet periods set it back. Each run is a fresh MPU, which reports address 0
// until a request lands.
TEST(AcquisitionSession, TheRequestLandsOnAPortLeftInItsDefaultState) {
    test::VirtualMpuRig mpu;
    for (int run = 0; run < 4; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        mpu.PlugIn();
        ASSERT_NO_FATAL_FAILURE(LeaveInItsDefaultState(mpu.DevicePath()));
        ASSERT_TRUE(WaitUntil([&] { return mpu.BytesReceived() > 100; })) << "the line does not echo";

        SessionFixture f(mpu.PortsFolder(), 10);
        f.session.Run();
        ASSERT_TRUE(f.WaitForPoints(10 + 50));
        f.session.Stop();
        for (const SampleValues& values : Delivered(f, 10)) {
            ASSERT_EQ(values[2], -32768) << "the MPU did not take the request";
            ASSERT_EQ(values[3], 4660);
        }
        EXPECT_EQ(f.session.Statistics().request, RequestOutcome::Sent);
    }
}

// The virtual MPU's program removes its link when it ends, so COM1 falls back to its built-in
// device, which exists (a second pseudo-terminal stands in for /dev/ttyS0): the session must
// not take it, must say it waits, and must rejoin the MPU once it is back, restarted behind COM1.
TEST(AcquisitionSession, ALostDeviceIsWaitedForAndNoOtherTakenInItsPlace) {
    test::VirtualMpuRig mpu;
    PseudoTerminal builtIn;
    SessionFixture f(mpu.PortsFolder(), 10, [&builtIn](int) { return builtIn.SlavePath(); });
    const std::string lostDevice = mpu.DevicePath();
    ASSERT_NO_FATAL_FAILURE(RunAndLoseTheDevice(f, mpu));
    std::filesystem::remove(std::filesystem::path(mpu.PortsFolder()) / "COM1");

    f.loop.RunUntil([] { return false; }, 3 * AcquisitionSession::kRejoinInterval);
    EXPECT_EQ(f.host.rejoins, 0);
    EXPECT_TRUE(f.session.WaitingForDevice());
    EXPECT_EQ(f.session.AwaitedDevice(), lostDevice);
    EXPECT_EQ(f.host.losses, std::vector<std::string>{"COM1: the device hung up"});
    EXPECT_FALSE(f.link.IsOpen()) << "the built-in device was opened";
    uint8_t byte = 0;
    EXPECT_LT(read(builtIn.MasterFd(), &byte, 1), 0) << "the request went to the built-in device";

    mpu.PlugIn();
    ASSERT_TRUE(f.loop.RunUntil([&] { return f.host.rejoins == 1; }, 5s));
    const size_t atRejoin = f.channels[0].points.size();
    ASSERT_TRUE(f.WaitForPoints(atRejoin + 50));
    f.session.Stop();
    const auto samples = Delivered(f, atRejoin);
    ASSERT_FALSE(samples.empty());
    for (const SampleValues& values : samples) ASSERT_EQ(values[3], 4660) << "the request was not sent again";
}

// No frames on an open line: there is no period to measure, so the request goes out after the
// settling time; a second later the statistics say no data has come, until frames come.
TEST(AcquisitionSession, AnOpenLineWithoutFramesIsFlaggedUntilFramesCome) {
    test::TemporaryFolder ports;
    PseudoTerminal line;
    test::PointPortAt(ports.Path() / "COM1", line.SlavePath());
    SessionFixture f(ports.String(), 10);
    f.session.Run();
    ASSERT_TRUE(f.session.Running());
    const auto started = Clock::now();

    std::vector<uint8_t> request;
    ASSERT_TRUE(f.loop.RunUntil(
        [&] {
            uint8_t chunk[64];
            const ssize_t n = read(line.MasterFd(), chunk, sizeof chunk);
            if (n > 0) request.insert(request.end(), chunk, chunk + n);
            return request.size() >= kRequestFrameSize;
        },
        5s));
    EXPECT_LT(Clock::now() - started, 400ms) << "the request waited for a quiet line nobody talks on";
    const RequestFrame expected = BuildRequestFrame(f.host.requests);
    EXPECT_EQ(request, std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_FALSE(f.session.Statistics().noData);

    ASSERT_TRUE(f.loop.RunUntil([&] { return f.session.Statistics().noData; }, 5s));
    EXPECT_GE(Clock::now() - started, AcquisitionSession::kNoDataTime);
    EXPECT_EQ(f.session.Statistics().request, RequestOutcome::Sent);
    EXPECT_EQ(f.session.Statistics().portNumber, 1);
    const int changesWhileSilent = f.host.linkChanges;

    // A frame is delivered once the byte after it arrives: two frames deliver the first.
    const SampleFrame frame = EncodeSampleFrame({1, 2, 3, 4});
    for (int i = 0; i < 2; ++i) ASSERT_EQ(write(line.MasterFd(), frame.data(), frame.size()), kSampleFrameSize);
    ASSERT_TRUE(f.loop.RunUntil([&] { return !f.session.Statistics().noData; }, 5s));
    EXPECT_GT(f.host.linkChanges, changesWhileSilent);
    EXPECT_EQ(f.channels[3].points.back().y, 4.0);
    f.session.Stop();
}

// New settings while running: the port reopens with them and the request goes out again; the
// samples go on after one Null point. Settings it cannot open end the session with the open's
// message.
TEST(AcquisitionSession, ReopenTakesNewSettingsWithAOnePointGap) {
    test::VirtualMpuRig mpu;
    SessionFixture f(mpu.PortsFolder(), 10, [](int) { return std::string("/nonexistent/ttyS"); });
    f.session.Run();
    ASSERT_TRUE(f.WaitForPoints(10 + 100));
    f.settings.BaudRate = 115200;
    ASSERT_TRUE(f.session.Reopen());
    EXPECT_EQ(f.link.OpenSettings().BaudRate, 115200);
    EXPECT_EQ(f.session.PortInUse().BaudRate, 115200);
    ASSERT_TRUE(f.loop.RunUntil([&] { return f.host.reopens == 1; }, 5s));
    const size_t atReopen = f.channels[0].points.size();
    ASSERT_TRUE(f.WaitForPoints(atReopen + 100));
    for (const FakeChannel& channel : f.channels) {
        EXPECT_EQ(NullPoints(channel), std::vector<size_t>{atReopen - 1});
        for (size_t i = 0; i < channel.points.size(); ++i) ASSERT_EQ(channel.points[i].x, static_cast<double>(i)) << i;
    }
    const auto samples = Delivered(f, 10);
    ExpectAnUnbrokenRunOfSentFrames({samples.begin(), samples.begin() + static_cast<long>(atReopen - 1 - 10)}, mpu.Sent());
    ExpectAnUnbrokenRunOfSentFrames({samples.begin() + static_cast<long>(atReopen - 10), samples.end()}, mpu.Sent());
    EXPECT_EQ(mpu.BytesReceived(), 2 * kRequestFrameSize) << "the request was not sent again";
    EXPECT_EQ(f.host.states, std::vector<bool>{true});
    EXPECT_TRUE(f.notifier.messages.empty());

    f.settings.PortNumber = 2;
    EXPECT_FALSE(f.session.Reopen());
    EXPECT_FALSE(f.session.Running());
    EXPECT_FALSE(f.link.IsOpen());
    EXPECT_EQ(f.host.states, (std::vector<bool>{true, false}));
    EXPECT_EQ(f.notifier.messages,
              std::vector<std::string>{"Open COM2 Err!\n/nonexistent/ttyS: " + std::generic_category().message(ENOENT)});
}

// How long the request waits, on made-up times: the MPU's period measured from the frames read,
// 500 of them and the margin, within the bound; the settling time alone when nothing comes.
TEST(QuietBeforeRequest, WaitsForTheMpuToForgetAPartRequestWithinTheBound) {
    using QuietClock = QuietBeforeRequest::Clock;
    const QuietClock::time_point start{};
    const auto settle = SerialLink::kSettleTime;
    // Every `period` a frame (or, with `garbage`, ten bytes that are none), read every 5 ms
    // until `readFor`.
    struct Case {
        const char* what;
        std::chrono::microseconds period;  // 0: nothing comes
        bool garbage;
        std::chrono::milliseconds readFor;
        std::chrono::milliseconds sendAt;
        bool longEnough;
    } cases[] = {
        {"nothing comes: the settling time", 0us, false, 100ms, settle, true},
        {"1 ms: 500 periods, 5 % and one more", 1000us, false, 600ms, 526ms, true},
        {"0.1 ms: never less than the settling time", 100us, false, 100ms, settle, true},
        {"10.4 ms, the fastest at 9600 baud", 10400us, false, 6000ms, 5470ms, true},
        {"50 ms: cut short by the bound", 50000us, false, 10000ms, QuietBeforeRequest::kLongestWait, false},
        {"bytes that never make a frame: a second to", 1000us, true, 1100ms, QuietBeforeRequest::kFirstFrameWait, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QuietBeforeRequest quiet(start, settle);
        auto next = start + c.period;
        for (auto now = start; now <= start + c.readFor; now += 5ms) {
            uint64_t arrived = 0;
            for (; c.period.count() > 0 && next <= now; next += c.period) ++arrived;
            quiet.Read(arrived * kSampleFrameSize, c.garbage ? 0 : arrived, now);
        }
        using Milliseconds = std::chrono::duration<double, std::milli>;
        EXPECT_NEAR(Milliseconds(quiet.SendAt() - start).count(), Milliseconds(c.sendAt).count(), 6.0);
        EXPECT_EQ(quiet.LongEnough(quiet.SendAt()), c.longEnough);
    }
}

// One frame and no second to measure by: the bound, and the request is unsure; so is a request
// sent before the quiet an MPU needs.
TEST(QuietBeforeRequest, ARequestSentTooEarlyIsUnsure) {
    const QuietBeforeRequest::Clock::time_point start{};
    QuietBeforeRequest single(start, SerialLink::kSettleTime);
    single.Read(kSampleFrameSize, 1, start + 5ms);
    EXPECT_EQ(single.SendAt(), start + QuietBeforeRequest::kLongestWait);
    EXPECT_FALSE(single.Period());
    EXPECT_FALSE(single.LongEnough(single.SendAt()));

    QuietBeforeRequest steady(start, SerialLink::kSettleTime);
    for (int ms = 5; ms <= 100; ms += 5) steady.Read(5 * kSampleFrameSize, 5, start + std::chrono::milliseconds(ms));
    ASSERT_TRUE(steady.Period());
    EXPECT_EQ(*steady.Period(), 1ms);
    EXPECT_FALSE(steady.LongEnough(start + 400ms));
    EXPECT_TRUE(steady.LongEnough(start + 526ms));
}

TEST(LinkStatistics, TheLineAndTheBriefTextSayTheSame) {
    LinkStatistics clean;
    clean.assembler.frames = 4719;
    clean.request = RequestOutcome::Sent;
    LinkStatistics troubled = clean;
    troubled.assembler.skippedBytes = 3;
    troubled.assembler.chanceMatches = 1;
    troubled.losses = 2;
    LinkStatistics unsure = clean;
    unsure.request = RequestOutcome::Unsure;
    const struct {
        const LinkStatistics& statistics;
        const char* line;
        const char* brief;
    } cases[] = {
        {clean, "frames=4719 skipped=0 resyncs=0 chance=0 losses=0", "frames=4719"},
        {troubled, "frames=4719 skipped=3 resyncs=0 chance=1 losses=2", "frames=4719 skipped=3 chance=1 losses=2"},
        {unsure, "frames=4719 skipped=0 resyncs=0 chance=0 losses=0 request=unsure", "frames=4719 request=unsure"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LinkStatisticsText(c.statistics), c.line);
        EXPECT_EQ(LinkStatisticsBrief(c.statistics), c.brief);
    }
}

}  // namespace
}  // namespace ondrix
