#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "ScopeRig.h"
#include "acquisition/RecordedData.h"
#include "tools/capture/CaptureOptions.h"
#include "tools/capture/CaptureRecorder.h"
#include "tools/mpu-sim/MemoryMap.h"

namespace ondrix {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

TEST(CaptureCommand, AcceptsTheDocumentedForms) {
    const auto command = ParseCaptureCommand(Words(
        "--port COM12 --baud 625000 --data-bits 7 --parity even --stop-bits 1.5 --addr 20000000,-,1a2b,FFFFFFFF "
        "--frames 10 --tsv - --dat out.dat"));
    ASSERT_TRUE(command.options) << command.error;
    const CaptureOptions& o = *command.options;
    EXPECT_EQ(o.settings, (PortSettings{12, 625000, 7, 2, 1}));
    EXPECT_TRUE(o.devicePath.empty());
    EXPECT_EQ(o.channels[0].address, 0x20000000u);
    EXPECT_TRUE(o.channels[0].on);
    EXPECT_FALSE(o.channels[1].on);
    EXPECT_EQ(o.channels[2].address, 0x1A2Bu);
    EXPECT_EQ(o.channels[3].address, 0xFFFFFFFFu);
    EXPECT_EQ(o.frames, 10u);
    EXPECT_FALSE(o.seconds);
    EXPECT_EQ(o.tsvPath, "-");
    EXPECT_EQ(o.datPath, "out.dat");

    const auto byPath = ParseCaptureCommand(Words("--port /dev/ttyUSB0 --addr 0,1,2,3 --seconds 2.5 --dat x.dat"));
    ASSERT_TRUE(byPath.options) << byPath.error;
    EXPECT_EQ(byPath.options->devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(byPath.options->seconds, 2.5);
    EXPECT_EQ(byPath.options->settings.BaudRate, 9600) << "unset line settings keep their initial values";

    EXPECT_TRUE(ParseCaptureCommand(Words("--port COM1 --help")).help);
    EXPECT_FALSE(o.reconnect);

    const auto waiting = ParseCaptureCommand(Words("--reconnect --port COM2 --addr 0,1,2,3 --seconds 9 --tsv -"));
    ASSERT_TRUE(waiting.options) << waiting.error;
    EXPECT_TRUE(waiting.options->reconnect);
    EXPECT_EQ(waiting.options->settings.PortNumber, 2);
}

TEST(CaptureCommand, RefusesWhatItCannotDo) {
    const std::string base = "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - ";
    const char* const refused[] = {
        "--port COM1 --addr 0,1,2,3 --tsv -",                   // neither limit
        "--port COM1 --addr 0,1,2,3 --frames 5 --seconds 1 --tsv -",  // both limits
        "--addr 0,1,2,3 --frames 5 --tsv -",                    // no port
        "--port COM1 --frames 5 --tsv -",                       // no addresses
        "--port COM1 --addr 0,1,2,3 --frames 5",                // nothing to write
        "--port COM0 --addr 0,1,2,3 --frames 5 --tsv -",
        "--port ttyUSB0 --addr 0,1,2,3 --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2 --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2,3,4 --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2, --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2,123456789 --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2,12G4 --frames 5 --tsv -",
        "--port COM1 --addr 0,1,2,3 --frames 0 --tsv -",
        "--port COM1 --addr 0,1,2,3 --frames -3 --tsv -",
        "--port COM1 --addr 0,1,2,3 --seconds abc --tsv -",
        "--port COM1 --addr 0,1,2,3 --seconds 0 --tsv -",
        "--port COM1 --addr 0,1,2,3 --frames 5 --dat -",
        "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - --tsv x",
        "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - --verbose 1",
        "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - --baud",
        "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - --reconnect --reconnect",
        "--port COM1 --addr 0,1,2,3 --frames 5 --tsv - --reconnect yes",
    };
    for (const char* args : refused) {
        const auto command = ParseCaptureCommand(Words(args));
        EXPECT_FALSE(command.options) << args;
        EXPECT_FALSE(command.error.empty()) << args;
    }
    const std::pair<const char*, const char*> badSettings[] = {
        {"--baud", "0"}, {"--baud", "9600x"}, {"--data-bits", "6"}, {"--parity", "mark"}, {"--stop-bits", "3"}};
    for (const auto& [option, value] : badSettings) {
        const auto command = ParseCaptureCommand(Words(base + option + " " + value));
        EXPECT_FALSE(command.options) << option << ' ' << value;
        EXPECT_NE(command.error.find(option), std::string::npos) << command.error;
    }
}

struct CaptureRun {
    int exitCode;
    std::string out, err;
};

CaptureRun Capture(const std::string& args, const std::atomic<bool>& interrupted = std::atomic<bool>{false}) {
    const auto command = ParseCaptureCommand(Words(args));
    EXPECT_TRUE(command.options) << command.error;
    std::ostringstream out, err;
    const int exitCode = RunCapture(*command.options, interrupted, out, err);
    return {exitCode, out.str(), err.str()};
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Capture, RecordsTsvAndDatFromTheVirtualMpu) {
    test::VirtualMpuRig mpu;
    test::TemporaryFolder out;
    const auto tsv = out.Path() / "run.tsv";
    const auto dat = out.Path() / "run.dat";
    const auto run = Capture("--port " + mpu.DevicePath() + " --baud 115200 --addr 20000010,-,2000001C,20000018 --frames 300 --tsv " +
                             tsv.string() + " --dat " + dat.string());
    ASSERT_EQ(run.exitCode, kCaptureDone) << run.err;
    EXPECT_TRUE(std::regex_match(run.err, std::regex("frames=[0-9]+ skipped=[0-9]+ resyncs=0 chance=0 losses=0\n")))
        << "only the link's figures, on a clean line: " << run.err;

    std::ifstream lines(tsv);
    std::vector<std::array<long, 5>> rows;
    for (std::array<long, 5> row{}; lines >> row[0] >> row[1] >> row[2] >> row[3] >> row[4];) rows.push_back(row);
    ASSERT_EQ(rows.size(), 300u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], static_cast<long>(i)) << "X starts at 0, with no prefill";
        if (i > 0) {
            EXPECT_EQ(static_cast<uint16_t>(rows[i][1] - rows[i - 1][1]), 1) << "no frame lost at " << i;
        }
        EXPECT_EQ(rows[i][2], 0) << "a switched-off channel reads address 0";
        EXPECT_EQ(rows[i][3], -32768);
        EXPECT_EQ(rows[i][4], 4660);
    }

    const auto bytes = ReadFile(dat);
    ASSERT_EQ(bytes.size(), 8 * 300 + 132u);
    const auto decoded = DecodeRecordedData(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.valid);
    const uint32_t addresses[] = {0x20000010, 0, 0x2000001C, 0x20000018};
    for (int c = 0; c < kChannelCount; ++c) {
        EXPECT_EQ(decoded.data[c].title, "CH" + std::to_string(c + 1));
        EXPECT_EQ(decoded.data[c].address, addresses[c]);
        EXPECT_EQ(decoded.data[c].on, c == 1 ? 0 : 1);
        for (size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(decoded.data[c].values[i], rows[i][c + 1]);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), 2) << "no temporary file left";
}

TEST(Capture, TsvOnStandardOutputForTheGivenTime) {
    test::VirtualMpuRig mpu;
    const auto run = Capture("--port " + mpu.DevicePath() + " --addr 20000010,20000000,20000004,2000000C --seconds 0.5 --tsv -");
    ASSERT_EQ(run.exitCode, kCaptureDone) << run.err;
    const auto lineCount = std::count(run.out.begin(), run.out.end(), '\n');
    // 1000 frames a second for half a second, less the start-up (request, purge, first tick).
    EXPECT_GT(lineCount, 150);
    EXPECT_LT(lineCount, 700);
}

TEST(Capture, PortFailureLeavesNoFileBehind) {
    test::TemporaryFolder out;
    const auto dat = out.Path() / "never.dat";
    const auto tsv = out.Path() / "never.tsv";
    const auto run = Capture("--port " + (out.Path() / "no-such-device").string() + " --addr 0,1,2,3 --frames 5 --tsv " +
                             tsv.string() + " --dat " + dat.string());
    EXPECT_EQ(run.exitCode, kCaptureFailed);
    EXPECT_NE(run.err.find("no-such-device"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(out.Path()));
}

TEST(Capture, UnwritableOutputIsRefusedBeforeThePortIsOpened) {
    const auto run = Capture("--port /dev/null --addr 0,1,2,3 --frames 5 --dat /nonexistent-folder/x.dat");
    EXPECT_EQ(run.exitCode, kCaptureFailed);
    EXPECT_NE(run.err.find("/nonexistent-folder/x.dat"), std::string::npos) << run.err;
}

TEST(Capture, InterruptionKeepsWhatWasRecorded) {
    test::VirtualMpuRig mpu;
    test::TemporaryFolder out;
    const auto dat = out.Path() / "part.dat";
    const std::atomic<bool> interrupted{true};
    const auto run = Capture("--port " + mpu.DevicePath() + " --addr 0,1,2,3 --frames 100000 --dat " + dat.string(), interrupted);
    EXPECT_EQ(run.exitCode, kCaptureInterrupted);
    const auto bytes = ReadFile(dat);
    EXPECT_TRUE(DecodeRecordedData(bytes.data(), bytes.size()).valid);
}

}  // namespace
}  // namespace ondrix
