#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "FileSizeLimit.h"
#include "ScopeRig.h"
#include "acquisition/RecordedData.h"
#include "tools/capture/CaptureOptions.h"
#include "tools/capture/CaptureOutputs.h"
#include "tools/capture/CaptureRecorder.h"
#include "tools/capture/CaptureVariables.h"
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

// The time counts from the request: the quiet line before it, about half a second at the
// virtual MPU's period, records nothing and takes nothing from the time asked for.
TEST(Capture, TsvOnStandardOutputForTheGivenTime) {
    test::VirtualMpuRig mpu;
    const auto run = Capture("--port " + mpu.DevicePath() + " --addr 20000010,20000000,20000004,2000000C --seconds 0.5 --tsv -");
    ASSERT_EQ(run.exitCode, kCaptureDone) << run.err;
    const auto lineCount = std::count(run.out.begin(), run.out.end(), '\n');
    // 1000 frames a second for half a second, less the purge and the first tick.
    EXPECT_GT(lineCount, 300);
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

// ---- Outputs and limits ----------------------------------------------------------------------

// The clock counts nanoseconds: a time it cannot hold must be refused, not wrapped into a limit
// that has passed before the first frame.
TEST(CaptureCommand, SecondsAreRefusedBeyondWhatTheClockCanCount) {
    const std::string base = "--port COM1 --addr 0,1,2,3 --tsv - --seconds ";
    for (const char* refused : {"1e10", "9.3e9", "1000000001", "1e300"}) {
        const auto command = ParseCaptureCommand(Words(base + refused));
        EXPECT_FALSE(command.options) << refused;
        EXPECT_EQ(command.error, "--seconds takes a positive number up to 1000000000 (about 31 years), not '" +
                                     std::string(refused) + "'");
    }
    for (const char* accepted : {"1e9", "0.001"}) {
        const auto command = ParseCaptureCommand(Words(base + accepted));
        ASSERT_TRUE(command.options) << accepted << ": " << command.error;
        EXPECT_EQ(command.options->seconds, std::stod(accepted));
    }
}

// Each file is committed on its own: one that cannot be written does not cost the other, and
// every failure is named. A folder in a file's place makes its final rename fail.
TEST(Capture, AFileThatCannotBeWrittenDoesNotCostTheOther) {
    const struct {
        const char* what;
        bool tsvFails, datFails;
    } cases[] = {
        {"the .dat fails", false, true},
        {"the TSV fails", true, false},
        {"both fail", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::VirtualMpuRig mpu;
        test::TemporaryFolder out;
        const auto tsv = out.Path() / "run.tsv";
        const auto dat = out.Path() / "run.dat";
        if (c.tsvFails) std::filesystem::create_directory(tsv);
        if (c.datFails) std::filesystem::create_directory(dat);
        const auto run = Capture("--port " + mpu.DevicePath() + " --addr 20000010,-,-,- --frames 300 --tsv " +
                                 tsv.string() + " --dat " + dat.string());
        EXPECT_EQ(run.exitCode, kCaptureFailed);
        EXPECT_EQ(run.err.find("cannot write " + tsv.string() + ": ") != std::string::npos, c.tsvFails) << run.err;
        EXPECT_EQ(run.err.find("cannot write " + dat.string() + ": ") != std::string::npos, c.datFails) << run.err;
        if (!c.tsvFails) {
            std::ifstream lines(tsv);
            EXPECT_EQ(std::count(std::istreambuf_iterator<char>(lines), {}, '\n'), 300);
        }
        if (!c.datFails) {
            const auto bytes = ReadFile(dat);
            EXPECT_TRUE(DecodeRecordedData(bytes.data(), bytes.size()).valid);
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), 2) << "no temporary file left";
    }
}

// A full disk, as the file size limit makes one: 100 TSV lines fit under 4096 bytes, the .dat of
// 1000 values per channel (8132 bytes) does not; under 64 bytes neither does.
TEST(CaptureOutputs, AFullDiskCostsOnlyTheFilesThatDoNotFit) {
    const struct {
        rlim_t limit;
        bool tsvFails, datFails;
    } cases[] = {{4096, false, true}, {64, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        test::TemporaryFolder out;
        const auto tsv = out.Path() / "run.tsv";
        const auto dat = out.Path() / "run.dat";
        std::ostringstream unused;
        CaptureOutputs outputs(tsv.string(), dat.string(), unused);
        ASSERT_TRUE(outputs.WantsRecordedData());
        for (int row = 0; row < 100; ++row) *outputs.Tsv() << row << "\t1\t2\t3\t4\n";
        RecordedData data;
        for (RecordedChannel& channel : data) channel.values.assign(1000, 7);

        std::vector<std::string> failures;
        {
            test::FileSizeLimit limit(c.limit);
            failures = outputs.Commit(data);
        }
        std::vector<std::string> expected;
        if (c.tsvFails) expected.push_back(tsv.string() + ": File too large");
        if (c.datFails) expected.push_back(dat.string() + ": File too large");
        EXPECT_EQ(failures, expected);
        EXPECT_EQ(std::filesystem::exists(tsv), !c.tsvFails);
        if (!c.tsvFails) {
            EXPECT_EQ(std::filesystem::file_size(tsv), 1090u) << "every line, whole";
        }
        EXPECT_FALSE(std::filesystem::exists(dat));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), c.tsvFails ? 0 : 1)
            << "no temporary file left";
    }
}

// ---- Trigger ---------------------------------------------------------------------------------

TEST(CaptureTrigger, OptionsAreCheckedWithTheRest) {
    const auto given = ParseCaptureCommand(Words("--port COM1 --addr 20000000,-,-,- --frames 50 --tsv - "
                                                 "--trigger CH1:falling:-5 --pre 10"));
    ASSERT_TRUE(given.options) << given.error;
    ASSERT_TRUE(given.options->trigger);
    EXPECT_EQ(given.options->trigger->edge, TriggerEdge::Falling);
    EXPECT_EQ(given.options->preTrigger, 10u);
    const std::string base = "--port COM1 --addr 20000000,-,-,- --frames 50 --tsv - ";
    for (const char* refused : {"--pre 5", "--trigger CH2:rising:0", "--trigger CH1:rising:0 --pre 50",
                                "--trigger CH1:sideways:0", "--trigger CH1:rising:0 --pre x"}) {
        const auto command = ParseCaptureCommand(Words(base + refused));
        EXPECT_FALSE(command.options) << refused;
        EXPECT_FALSE(command.error.empty()) << refused;
    }
}

// The sine rises through 0 once a period: with 1000 samples before the trigger, row 1000 is the
// first sample at or above 0 after a negative one, and X runs on without a gap around it.
TEST(CaptureTrigger, RowPreIsTheTriggerSample) {
    test::VirtualMpuRig mpu;
    const auto run = Capture("--port " + mpu.DevicePath() +
                             " --addr 20000000,20000010,-,- --frames 1500 --tsv - --trigger CH1:rising:0 --pre 1000");
    ASSERT_EQ(run.exitCode, kCaptureDone) << run.err;
    std::istringstream lines(run.out);
    std::vector<std::array<long, 5>> rows;
    for (std::array<long, 5> row{}; lines >> row[0] >> row[1] >> row[2] >> row[3] >> row[4];) rows.push_back(row);
    ASSERT_EQ(rows.size(), 1500u);
    EXPECT_LT(rows[999][1], 0);
    EXPECT_GE(rows[1000][1], 0);
    for (size_t i = 1; i < rows.size(); ++i) ASSERT_EQ(rows[i][0], rows[i - 1][0] + 1) << "a gap at row " << i;
}

// ---- Variables by name, with the firmware's ELF file ------------------------------------

TEST(CaptureNames, ItemsMayNameVariablesOnlyWithAFirmware) {
    const auto named = ParseCaptureCommand(Words("--port COM1 --elf fw.elf --addr sample_counter,constants.one,-,beef "
                                                 "--frames 5 --tsv -"));
    ASSERT_TRUE(named.options) << named.error;
    EXPECT_EQ(named.options->elfPath, "fw.elf");
    EXPECT_EQ(named.options->variableNames,
              (std::array<std::string, kChannelCount>{"sample_counter", "constants.one", "", "beef"}));
    EXPECT_FALSE(named.options->channels[0].on) << "a name waits for the firmware";
    EXPECT_TRUE(named.options->channels[3].on) << "hexadecimal digits stand by in case no variable has the name";
    EXPECT_EQ(named.options->channels[3].address, 0xBEEFu);

    const auto unnamed = ParseCaptureCommand(Words("--port COM1 --addr sine,-,-,- --frames 5 --tsv -"));
    EXPECT_FALSE(unnamed.options);
    EXPECT_NE(unnamed.error.find("--elf"), std::string::npos) << unnamed.error;

    const struct {
        const char* args;
        const char* listed;  // empty: refused
    } lists[] = {
        {"--elf fw.elf --list", "fw.elf"},
        {"--list --elf fw.elf", "fw.elf"},
        {"--list", ""},
        {"--elf fw.elf --list --port COM1", ""},
    };
    for (const auto& c : lists) {
        const auto command = ParseCaptureCommand(Words(c.args));
        EXPECT_EQ(command.listElfPath, c.listed) << c.args;
        EXPECT_FALSE(command.options) << c.args;
        EXPECT_EQ(command.error.empty(), *c.listed != '\0') << c.args;
    }
}

FirmwareVariable Variable(std::string path, std::optional<uint64_t> address, uint64_t size, std::string type,
                          VariableKind kind) {
    FirmwareVariable variable;
    variable.path = std::move(path);
    variable.address = address;
    variable.byteSize = size;
    variable.typeName = std::move(type);
    variable.kind = kind;
    return variable;
}

FirmwareSymbols Firmware() {
    FirmwareSymbols symbols;
    symbols.fromDebugInfo = true;
    symbols.variables = {
        Variable("sine", 0x20000000, 2, "int16_t", VariableKind::SignedInteger),
        Variable("sample_counter", 0x20000010, 2, "int16_t", VariableKind::SignedInteger),
        Variable("uptime", 0x20000040, 4, "uint32_t", VariableKind::UnsignedInteger),
        Variable("flag", 0x20000044, 1, "uint8_t", VariableKind::UnsignedInteger),
        Variable("scratch", std::nullopt, 2, "int16_t", VariableKind::SignedInteger),
        Variable("far", 0x100000000ull, 2, "int16_t", VariableKind::SignedInteger),
    };
    // struct status { unsigned int : 3, mode : 2; } status; int16_t samples[1000];
    symbols.types.push_back({"unsigned int", VariableKind::UnsignedInteger, 4, {}, kNoType, 0, 0});
    symbols.types.push_back({"struct status", VariableKind::Struct, 4, {{"mode", 0, 0, 3, 2}}, kNoType, 0, 0});
    symbols.types.push_back({"int16_t", VariableKind::SignedInteger, 2, {}, kNoType, 0, 0});
    symbols.types.push_back({"int16_t[1000]", VariableKind::Array, 2000, {}, 2, 1000, 2});
    FirmwareVariable status = Variable("status", 0x20000046, 4, "struct status", VariableKind::Struct);
    status.type = 1;
    symbols.variables.push_back(status);
    FirmwareVariable samples = Variable("samples", 0x20001000, 2000, "int16_t[1000]", VariableKind::Array);
    samples.type = 3;
    symbols.variables.push_back(samples);
    return symbols;
}

CaptureOptions Named(std::array<std::string, kChannelCount> items) {
    std::string addr;
    for (const std::string& item : items) addr += (addr.empty() ? "" : ",") + (item.empty() ? std::string("-") : item);
    const auto command = ParseCaptureCommand(Words("--port COM1 --elf fw.elf --addr " + addr + " --frames 5 --tsv -"));
    EXPECT_TRUE(command.options) << command.error;
    return *command.options;
}

TEST(CaptureNames, NamesBecomeAddresses) {
    CaptureOptions options = Named({"sample_counter", "sine", "samples[700]", "20000012"});
    const VariableResolution resolution = ResolveVariableNames(options, Firmware());
    EXPECT_EQ(resolution.error, "");
    EXPECT_TRUE(resolution.warnings.empty());
    const uint32_t addresses[] = {0x20000010, 0x20000000, 0x20001000 + 700 * 2, 0x20000012};
    for (int c = 0; c < kChannelCount; ++c) {
        EXPECT_EQ(options.channels[c].address, addresses[c]) << c;
        EXPECT_TRUE(options.channels[c].on) << c;
    }
    EXPECT_EQ(options.variableNames[3], "") << "hexadecimal digits no variable has are no title";
}

TEST(CaptureNames, AWordThatIsNoVariableButHexadecimalIsTakenAsAnAddressAloud) {
    CaptureOptions options = Named({"add", "", "", ""});
    const VariableResolution resolution = ResolveVariableNames(options, Firmware());
    EXPECT_EQ(resolution.error, "");
    EXPECT_EQ(options.channels[0].address, 0x0ADDu);
    ASSERT_EQ(resolution.warnings.size(), 1u);
    EXPECT_EQ(resolution.warnings[0],
              "channel 1: the firmware has no variable 'add'; 'add' is taken as the address 0x00000ADD");
}

TEST(CaptureNames, WhatCannotBeWatchedIsRefusedWithTheReason) {
    const struct {
        const char* item;
        const char* expected;  // in the error
    } cases[] = {
        {"sinus", "the firmware has no variable 'sinus'; closest: sine"},
        {"sample_countr", "closest: sample_counter"},
        {"scratch", "'scratch' has no fixed address"},
        {"far", "beyond the 32-bit addresses"},
        {"samples[1000]", "index 1000 is past the end of 'samples', which has 1000 elements"},
        {"status.speed", "'status' has no member 'speed'"},
    };
    for (const auto& c : cases) {
        CaptureOptions options = Named({c.item, "", "", ""});
        const VariableResolution resolution = ResolveVariableNames(options, Firmware());
        EXPECT_NE(resolution.error.find(c.expected), std::string::npos) << c.item << ": " << resolution.error;
    }
}

TEST(CaptureNames, AVariableOfAnotherWidthIsTakenWithAWarning) {
    CaptureOptions options = Named({"uptime", "flag", "status.mode", "sine"});
    const VariableResolution resolution = ResolveVariableNames(options, Firmware());
    ASSERT_EQ(resolution.error, "");
    ASSERT_EQ(resolution.warnings.size(), 3u);
    EXPECT_EQ(resolution.warnings[0],
              "channel 1: 'uptime' is 4 bytes of uint32_t (unsigned), not a 16-bit variable; the channel shows the "
              "16-bit word at 0x20000040: the variable's first two bytes");
    EXPECT_NE(resolution.warnings[1].find("the variable and the byte after it"), std::string::npos);
    EXPECT_NE(resolution.warnings[2].find("a bit field of 2 bits"), std::string::npos) << resolution.warnings[2];
    EXPECT_NE(resolution.warnings[2].find("bits 3 to 4"), std::string::npos) << resolution.warnings[2];
    EXPECT_EQ(options.channels[2].address, 0x20000046u);
}

TEST(CaptureNames, ListingHasOneTabSeparatedLinePerVariableAndPart) {
    std::ostringstream out, errors;
    WriteVariableList(Firmware(), out, errors);
    std::istringstream lines(out.str());
    std::string first, noAddress;
    std::getline(lines, first);
    EXPECT_EQ(first, "sine\t0x20000000\t2\tint16_t\tsigned");
    EXPECT_NE(out.str().find("scratch\t-\t2\tint16_t\tsigned\n"), std::string::npos);
    EXPECT_NE(out.str().find("status.mode\t0x20000046\t1\tunsigned int\tbit field\n"), std::string::npos);
    EXPECT_NE(out.str().find("samples[999]\t0x200017CE\t2\tint16_t\tsigned\n"), std::string::npos)
        << "every element is listed, however many";
    EXPECT_EQ(errors.str(), "");
}

TEST(CaptureNames, AFirmwareThatCannotBeReadFailsBeforeThePort) {
    std::ostringstream out, err;
    EXPECT_EQ(ListFirmwareVariables("/nonexistent/firmware.elf", out, err), kCaptureFailed);
    EXPECT_NE(err.str().find("firmware.elf"), std::string::npos) << err.str();
    CaptureOptions options = Named({"sine", "", "", ""});
    options.elfPath = "/nonexistent/firmware.elf";
    EXPECT_EQ(ResolveFirmwareNames(options, err), kCaptureFailed);
}

// The virtual MPU's own firmware file names what it serves.
TEST(CaptureNames, RecordsTheVirtualMpuByName) {
    test::VirtualMpuRig mpu;
    const auto command =
        ParseCaptureCommand(Words("--port " + mpu.DevicePath() + " --elf " + std::string(ONDRIX_VIRTUAL_MPU_ELF) +
                                  " --addr sample_counter,constants.one,constants.k4660,constants.min --frames 200 --tsv -"));
    ASSERT_TRUE(command.options) << command.error;
    CaptureOptions options = *command.options;
    std::ostringstream out, err;
    ASSERT_EQ(ResolveFirmwareNames(options, err), kCaptureDone) << err.str();
    EXPECT_EQ(err.str(), "") << "every variable is 16 bits wide";
    const std::atomic<bool> interrupted{false};
    ASSERT_EQ(RunCapture(options, interrupted, out, err), kCaptureDone) << err.str();

    std::istringstream lines(out.str());
    std::vector<std::array<long, 5>> rows;
    for (std::array<long, 5> row{}; lines >> row[0] >> row[1] >> row[2] >> row[3] >> row[4];) rows.push_back(row);
    ASSERT_EQ(rows.size(), 200u);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(static_cast<uint16_t>(rows[i][1] - rows[i - 1][1]), 1) << "sample_counter counts, at " << i;
        }
        EXPECT_EQ(rows[i][2], 1);
        EXPECT_EQ(rows[i][3], 4660);
        EXPECT_EQ(rows[i][4], -32768);
    }
}

}  // namespace
}  // namespace ondrix
