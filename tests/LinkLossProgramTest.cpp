// The headless recorder against a virtual MPU that goes away in the middle of a recording, the
// way a user meets it: a USB adapter pulled is the MPU's process killed, whose end of the
// pseudo-terminal closes and hangs up the end the recorder holds; the adapter plugged in again
// is a new MPU on the same COM1, under a new device name.
//
// The programs run as copies in a folder of their own, so that the COM1 they share is that
// folder's ports/COM1 and never the build's or a user's. Every process the test starts dies
// with it, on every way out.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "PortLinks.h"
#include "TemporaryFolder.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ChildProcess;
using test::ExitCode;
using test::ProcessClock;
using test::ReadFile;
using test::WaitFor;

// The frame counter, a switched-off channel and two constants: every sample says where it came
// from in the MPU's count, and whether the MPU was told which addresses to read (a fresh MPU
// reads address 0, which is 0).
const std::string kAddresses = "20000010,-,2000001C,20000018";
constexpr int kOff = 0;
constexpr int kMinus32768 = -32768;
constexpr int k4660 = 4660;

struct Row {
    long long x = 0;
    int counter = 0;
    int values[3] = {};
};

std::vector<Row> ParseTsv(const std::string& text) {
    std::vector<Row> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Row row;
        if (!(fields >> row.x >> row.counter >> row.values[0] >> row.values[1] >> row.values[2]))
            throw std::runtime_error("not a TSV sample line: \"" + line + "\"");
        rows.push_back(row);
    }
    return rows;
}

// Rows [begin, end) are one unbroken stretch: X and the 16-bit frame counter both step by one,
// and every sample carries the requested addresses' values.
::testing::AssertionResult Unbroken(const std::vector<Row>& rows, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        const Row& row = rows[i];
        if (row.values[0] != kOff || row.values[1] != kMinus32768 || row.values[2] != k4660)
            return ::testing::AssertionFailure() << "row " << i << " (X " << row.x << ") holds " << row.values[0] << ", "
                                                 << row.values[1] << ", " << row.values[2] << " instead of " << kOff
                                                 << ", " << kMinus32768 << ", " << k4660;
        if (i == begin) continue;
        const Row& before = rows[i - 1];
        if (row.x != before.x + 1 || row.counter != static_cast<int16_t>(before.counter + 1))
            return ::testing::AssertionFailure() << "row " << i << " breaks the stretch: X " << before.x << " counter "
                                                 << before.counter << " is followed by X " << row.x << " counter "
                                                 << row.counter;
    }
    return ::testing::AssertionSuccess();
}

std::string LastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return {};
    const size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

// The recorder's closing line; nullopt if the line is not that.
struct Figures {
    unsigned long long frames = 0;
    unsigned long long losses = 0;
};

std::optional<Figures> ParseFigures(const std::string& line) {
    static const std::regex pattern(R"(frames=(\d+) skipped=\d+ resyncs=\d+ chance=\d+ losses=(\d+))");
    std::smatch match;
    if (!std::regex_match(line, match, pattern)) return std::nullopt;
    return Figures{std::stoull(match[1]), std::stoull(match[2])};
}

class LinkLoss : public ::testing::Test {
protected:
    void SetUp() override {
        test::PlaceProgram(ONDRIX_CAPTURE_PROGRAM, capture_);
        test::PlaceProgram(ONDRIX_MPU_SIM_PROGRAM, mpuSim_);
    }

    // A new virtual MPU as COM1, with a new pseudo-terminal, once it has taken ports/COM1 over.
    void StartMpu() {
        ++mpuStarts_;
        const fs::path log = folder_.Path() / ("mpu-sim-" + std::to_string(mpuStarts_) + ".log");
        mpu_.emplace(std::vector<std::string>{mpuSim_.string(), "--link", "COM1"}, log);
        ASSERT_TRUE(WaitFor([&] { return test::PortLinkedBy(folder_.Path() / "ports" / "COM1", log); }, 10s))
            << "the virtual MPU did not link COM1:\n" << ReadFile(log);
    }

    void KillMpu() {
        mpu_->Signal(SIGKILL);
        ASSERT_TRUE(mpu_->WaitForExit(5s)) << "the virtual MPU outlived SIGKILL";
        test::PointPortAtNothing(folder_.Path() / "ports" / "COM1");
    }

    void StartRecorder(std::vector<std::string> options) {
        std::vector<std::string> args = {capture_.string(), "--port", "COM1", "--addr", kAddresses,
                                         "--tsv", Tsv().string()};
        args.insert(args.end(), options.begin(), options.end());
        recorder_.emplace(args, RecorderLog());
    }

    fs::path Tsv() const { return folder_.Path() / "samples.tsv"; }
    // The TSV goes to its file, so standard output stays empty and this is what it wrote on
    // standard error.
    fs::path RecorderLog() const { return folder_.Path() / "capture.log"; }

    test::TemporaryFolder folder_;
    const fs::path capture_ = folder_.Path() / "ondrix-capture";
    const fs::path mpuSim_ = folder_.Path() / "ondrix-mpu-sim";
    std::optional<ChildProcess> mpu_;
    int mpuStarts_ = 0;
    std::optional<ChildProcess> recorder_;
};

TEST_F(LinkLoss, WithoutReconnectTheRecorderKeepsWhatItHadAndFailsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(StartMpu());
    StartRecorder({"--frames", "100000000"});
    std::this_thread::sleep_for(1s);

    ASSERT_NO_FATAL_FAILURE(KillMpu());
    // About one second is what a user waits; three leave room for a loaded machine, and the
    // frame count would take more than a day.
    const std::optional<int> status = recorder_->WaitForExit(3s);
    const std::string said = ReadFile(RecorderLog());
    ASSERT_TRUE(status) << "still recording 3 s after the device went away; it said:\n" << said;
    EXPECT_EQ(ExitCode(*status), 1) << said;
    EXPECT_NE(said.find("ondrix-capture: COM1 lost: "), std::string::npos) << said;

    const auto figures = ParseFigures(LastLine(said));
    ASSERT_TRUE(figures) << "the last line is not the figures line:\n" << said;
    EXPECT_EQ(figures->losses, 1u);
    EXPECT_GT(figures->frames, 0u);

    ASSERT_TRUE(fs::exists(Tsv())) << "nothing recorded before the loss was written; it said:\n" << said;
    const std::vector<Row> rows = ParseTsv(ReadFile(Tsv()));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().x, 0);
    EXPECT_TRUE(Unbroken(rows, 0, rows.size()));
    // Every frame found before the loss was handed over before the loss was noticed.
    EXPECT_EQ(rows.size(), figures->frames) << "frames counted and samples written differ";
}

TEST_F(LinkLoss, WithReconnectTheRecorderWaitsForTheDeviceAndGoesOnAfterAGap) {
    ASSERT_NO_FATAL_FAILURE(StartMpu());
    StartRecorder({"--reconnect", "--seconds", "3.5"});
    std::this_thread::sleep_for(1500ms);

    ASSERT_NO_FATAL_FAILURE(KillMpu());
    // Long enough for the recorder to notice and try the dead port at least once.
    std::this_thread::sleep_for(300ms);
    const auto replugged = ProcessClock::now();
    ASSERT_NO_FATAL_FAILURE(StartMpu());

    const std::optional<int> status = recorder_->WaitForExit(10s);
    const auto sinceReplug = std::chrono::duration_cast<std::chrono::milliseconds>(ProcessClock::now() - replugged);
    const std::string said = ReadFile(RecorderLog());
    ASSERT_TRUE(status) << "still recording long after its 3.5 s; it said:\n" << said;
    EXPECT_EQ(ExitCode(*status), 0) << said;
    const auto figures = ParseFigures(LastLine(said));
    ASSERT_TRUE(figures) << "the last line is not the figures line:\n" << said;
    EXPECT_EQ(figures->losses, 1u);

    ASSERT_TRUE(fs::exists(Tsv())) << said;
    const std::vector<Row> rows = ParseTsv(ReadFile(Tsv()));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().x, 0);
    std::vector<size_t> breaks;
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i].x != rows[i - 1].x + 1) breaks.push_back(i);
    ASSERT_EQ(breaks.size(), 1u) << "X should jump once, at the gap; it said:\n" << said;
    const size_t gap = breaks.front();
    const Row& lastBefore = rows[gap - 1];
    const Row& firstAfter = rows[gap];
    EXPECT_EQ(firstAfter.x, lastBefore.x + 2) << "the gap takes exactly one X value";
    EXPECT_TRUE(Unbroken(rows, 0, gap));
    // Unbroken after the gap also shows that the new MPU was told the addresses again.
    EXPECT_TRUE(Unbroken(rows, gap, rows.size()));

    // The new MPU counts from 0 when it starts: the counter goes back, and no sample after the
    // gap counts further than the new MPU has run (one frame per millisecond, a little slack for
    // its start).
    EXPECT_LT(firstAfter.counter, lastBefore.counter) << "the counter did not restart with the new MPU";
    EXPECT_LE(rows.back().counter, sinceReplug.count() + 20)
        << "samples after the gap count further than the new MPU has run (" << sinceReplug.count() << " ms)";
}

}  // namespace
}  // namespace ondrix
