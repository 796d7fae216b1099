// The demo firmware on the emulated Cortex-M3 board (ondrix-board running QEMU's mps2-an385), as
// a user meets it: recorded by name with the headless recorder, talked to byte by byte through
// its pseudo-terminal, and lost and found again when QEMU dies and a new board takes COM1 over.
//
// The programs and the firmware run as copies in a folder of their own, so that the COM1 they
// share is that folder's ports/COM1, and the board finds its firmware beside itself as it does
// in a build. Every process the test starts dies with it, on every way out (QEMU with the board).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "TemporaryFolder.h"
#include "acquisition/FrameAssembler.h"
#include "acquisition/WireProtocol.h"
#include "firmware/FirmwareSymbols.h"
#include "firmware/FirmwareVariableIndex.h"
#include "tools/mpu-sim/MemoryMap.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ChildProcess;
using test::ExitCode;
using test::ProcessClock;
using test::ReadFile;
using test::WaitFor;

// The monitoring period of the default build: one frame per millisecond.
constexpr int kFramesPerSecond = 1000;

// The demo firmware's function-scope static that counts the drive's steps, one per period.
const std::string kTickCounter = "drive_step::ticks";

uint16_t Word(int16_t value) { return static_cast<uint16_t>(value); }
bool Follows(int16_t before, int16_t after) { return Word(after) == static_cast<uint16_t>(Word(before) + 1); }

// ---- The recorder's output -------------------------------------------------------------------

struct Row {
    long long x = 0;
    std::array<int16_t, 4> values{};
};

std::vector<Row> ParseTsv(const std::string& text) {
    std::vector<Row> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        Row row;
        int values[4] = {};
        if (!(fields >> row.x >> values[0] >> values[1] >> values[2] >> values[3]))
            throw std::runtime_error("not a TSV sample line: \"" + line + "\"");
        for (int c = 0; c < 4; ++c) row.values[c] = static_cast<int16_t>(values[c]);
        rows.push_back(row);
    }
    return rows;
}

// The recordings below watch sample_counter on CH1 and fixed words on CH2 and CH4: rows
// [begin, end) are one unbroken stretch when X and the counter step by one and the fixed words
// hold their values.
::testing::AssertionResult Unbroken(const std::vector<Row>& rows, size_t begin, size_t end, int16_t ch2,
                                    int16_t ch4) {
    for (size_t i = begin; i < end; ++i) {
        const Row& row = rows[i];
        if (row.values[1] != ch2 || row.values[3] != ch4)
            return ::testing::AssertionFailure() << "row " << i << " (X " << row.x << ") holds " << row.values[1]
                                                 << " and " << row.values[3] << " instead of " << ch2 << " and " << ch4;
        if (i == begin) continue;
        const Row& before = rows[i - 1];
        if (row.x != before.x + 1 || !Follows(before.values[0], row.values[0]))
            return ::testing::AssertionFailure() << "row " << i << " breaks the stretch: X " << before.x << " counter "
                                                 << before.values[0] << " is followed by X " << row.x << " counter "
                                                 << row.values[0];
    }
    return ::testing::AssertionSuccess();
}

std::string LastLine(const std::string& text) {
    const size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return {};
    const size_t start = text.rfind('\n', end);
    const size_t first = start == std::string::npos ? 0 : start + 1;
    return text.substr(first, end - first + 1);
}

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

// ---- The line, byte by byte ------------------------------------------------------------------

// The board's pseudo-terminal opened as the scope's side of the cable, without the scope: the
// test writes requests, sound or damaged, and reads the frames that come back.
class BoardLine {
public:
    explicit BoardLine(const std::string& device) {
        fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) throw std::runtime_error("cannot open " + device);
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    ~BoardLine() { close(fd_); }
    BoardLine(const BoardLine&) = delete;
    BoardLine& operator=(const BoardLine&) = delete;

    void Send(const RequestFrame& request) {
        ASSERT_EQ(write(fd_, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    }

    // The frames that arrive until `enough` says so or the time is up.
    template <typename Enough>
    std::vector<SampleValues> Read(Enough&& enough, ProcessClock::duration timeout) {
        std::vector<SampleValues> frames;
        for (const auto give = ProcessClock::now() + timeout; !enough(frames) && ProcessClock::now() < give;) {
            pollfd ready{fd_, POLLIN, 0};
            if (poll(&ready, 1, 20) <= 0) continue;
            uint8_t bytes[4096];
            const ssize_t n = read(fd_, bytes, sizeof bytes);
            if (n <= 0) continue;
            assembler_.Feed(bytes, static_cast<size_t>(n),
                            [&](const uint8_t* frame) { frames.push_back(DecodeSampleValues(frame)); });
        }
        return frames;
    }

    std::vector<SampleValues> ReadFrames(size_t count, ProcessClock::duration timeout) {
        return Read([count](const std::vector<SampleValues>& frames) { return frames.size() >= count; }, timeout);
    }

private:
    int fd_ = -1;
    FrameAssembler assembler_;
};

// ---- The board -------------------------------------------------------------------------------

class EmulatedBoard : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::FindProgram("qemu-system-arm"))
            GTEST_SKIP() << "qemu-system-arm is not installed (scripts/setup installs it): the emulated board is not tested";
        if (std::string(ONDRIX_BOARD_ELF).empty() || !fs::exists(ONDRIX_BOARD_ELF))
            GTEST_SKIP() << "the board's firmware was not built (it needs arm-none-eabi-gcc): the emulated board is not "
                            "tested";
        test::PlaceProgram(ONDRIX_BOARD_PROGRAM, board_);
        test::PlaceProgram(ONDRIX_CAPTURE_PROGRAM, capture_);
        fs::create_directories(Elf().parent_path());
        test::PlaceProgram(ONDRIX_BOARD_ELF, Elf());
    }

    // The demo firmware where ondrix-board looks for it, beside itself.
    fs::path Elf() const { return folder_.Path() / "board" / "ondrix-demo-board.elf"; }
    fs::path PortLink() const { return folder_.Path() / "ports" / "COM1"; }
    fs::path BoardLog() const { return folder_.Path() / ("board-" + std::to_string(boardStarts_) + ".log"); }

    // A new board as COM1, once it has taken ports/COM1 over.
    void StartBoard() {
        ++boardStarts_;
        board_process_.emplace(std::vector<std::string>{board_.string(), "--link", "COM1"}, BoardLog());
        ASSERT_TRUE(WaitFor([&] { return test::PortLinkedBy(PortLink(), BoardLog()); }, 20s))
            << "the board did not link COM1:\n" << ReadFile(BoardLog());
        const std::string log = ReadFile(BoardLog());
        device_ = log.substr(0, log.find('\n'));
        std::smatch match;
        ASSERT_TRUE(std::regex_search(log, match, std::regex(R"(under QEMU \(pid (\d+)\))")))
            << "the board did not say which QEMU runs it:\n" << log;
        qemu_ = static_cast<pid_t>(std::stol(match[1]));
    }

    // QEMU gone: no process, or one that only waits to be reaped.
    bool QemuGone() const {
        const std::string stat = ReadFile("/proc/" + std::to_string(qemu_) + "/stat");
        const size_t state = stat.rfind(") ");
        return stat.empty() || (state != std::string::npos && stat.compare(state + 2, 1, "Z") == 0);
    }

    // Dies the way a crashed emulator does; the board stays, says so and gives COM1 up.
    void KillQemu() {
        ASSERT_EQ(kill(qemu_, SIGKILL), 0);
        const std::optional<int> status = board_process_->WaitForExit(5s);
        const std::string log = ReadFile(BoardLog());
        ASSERT_TRUE(status) << "the board outlived its QEMU:\n" << log;
        EXPECT_EQ(ExitCode(*status), 1) << log;
        EXPECT_NE(log.find("QEMU ended (killed by signal 9"), std::string::npos) << log;
        EXPECT_FALSE(fs::exists(fs::symlink_status(PortLink()))) << "the board left COM1 pointing at a dead device";
    }

    // The firmware's addresses of `names`, for requests sent by hand.
    std::array<ChannelRequest, kChannelCount> Channels(const std::array<std::string, kChannelCount>& names) {
        if (!index_) index_.emplace(ReadFirmwareSymbols(Elf().string()));
        std::array<ChannelRequest, kChannelCount> channels;
        for (int c = 0; c < kChannelCount; ++c) {
            const VariableLookup found = index_->Resolve(names[c]);
            if (!found.variable || !found.variable->address)
                throw std::runtime_error("the board's firmware has no " + names[c] + ": " + found.error);
            channels[c] = {static_cast<uint32_t>(*found.variable->address), true};
        }
        return channels;
    }

    std::vector<std::string> CaptureArgs(const std::string& addresses, const std::vector<std::string>& more) const {
        std::vector<std::string> args = {capture_.string(), "--port", "COM1", "--elf", Elf().string(),
                                         "--addr", addresses, "--tsv", Tsv().string()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    fs::path Tsv() const { return folder_.Path() / "samples.tsv"; }
    fs::path CaptureLog() const { return folder_.Path() / "capture.log"; }

    test::TemporaryFolder folder_;
    const fs::path board_ = folder_.Path() / "ondrix-board";
    const fs::path capture_ = folder_.Path() / "ondrix-capture";
    std::optional<ChildProcess> board_process_;
    int boardStarts_ = 0;
    std::string device_;
    pid_t qemu_ = -1;
    std::optional<FirmwareVariableIndex> index_;
};

TEST_F(EmulatedBoard, TenSecondsByNameWithoutAGap) {
    ASSERT_NO_FATAL_FAILURE(StartBoard());
    ChildProcess capture(CaptureArgs("sample_counter,constants.one," + kTickCounter + ",constants.min",
                                     {"--seconds", "10"}),
                         CaptureLog());
    const std::optional<int> status = capture.WaitForExit(30s);
    const std::string said = ReadFile(CaptureLog());
    ASSERT_TRUE(status) << "still recording long after its 10 s; it said:\n" << said;
    ASSERT_EQ(ExitCode(*status), 0) << said;
    const auto figures = ParseFigures(LastLine(said));
    ASSERT_TRUE(figures) << "the last line is not the figures line:\n" << said;
    EXPECT_EQ(figures->losses, 0u);

    const std::vector<Row> rows = ParseTsv(ReadFile(Tsv()));
    EXPECT_TRUE(Unbroken(rows, 0, rows.size(), 1, -32768));
    // SysTick sets the pace, not the line: ten seconds hold about ten thousand periods. The
    // emulator falls behind on a busy host, never ahead; a period off by ten shows either way.
    EXPECT_GE(rows.size(), 10u * kFramesPerSecond / 5) << said;
    EXPECT_LE(rows.size(), 10u * kFramesPerSecond * 11 / 10 + 100) << said;
    // The drive counts its steps as the test signals count periods, one step later in the same
    // period: the two words stay one apart in every frame, so the tick counter moves in step.
    for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_TRUE(Follows(rows[i].values[0], rows[i].values[2]))
            << "row " << i << ": " << kTickCounter << " is " << rows[i].values[2] << " beside sample_counter "
            << rows[i].values[0];
    }
}

// The test signals keep the virtual MPU's names and values (tools/mpu-sim/MemoryMap.h), so that a
// reading made against one can be checked against the other. A fresh board's sample_counter is
// its period count k, which gives each frame's expected values.
TEST_F(EmulatedBoard, ServesTheVirtualMpusSignalsUnderTheirNames) {
    struct Signal {
        const char* name;
        uint32_t virtualAddress;
    };
    struct Set {
        std::array<Signal, 3> signals;
        // Enough periods for every value the signals take: the damped oscillation repeats after
        // 2000, the sine and its kin after 1000.
        size_t periods;
    };
    using namespace mpusim;
    const Set sets[] = {
        {{{{"sine", kSineAddress}, {"cosine", kCosineAddress}, {"damped", kDampedAddress}}}, 2000},
        {{{{"triangle", kTriangleAddress}, {"square", kSquareAddress}, {"sawtooth", kSawtoothAddress}}}, 1000},
        {{{{"noise", kNoiseAddress}, {"slow_counter", kSlowCounterAddress}, {"constants.k4660", kConstant4660Address}}},
         300},
    };

    ASSERT_NO_FATAL_FAILURE(StartBoard());
    BoardLine line(device_);
    MemoryMap expected;
    for (const Set& set : sets) {
        line.Send(BuildRequestFrame(
            Channels({"sample_counter", set.signals[0].name, set.signals[1].name, set.signals[2].name})));
        // Frames sent before the request took effect carry the previous words: the first frame that
        // holds the virtual MPU's values at its k starts the check.
        const auto matches = [&](const SampleValues& frame) {
            expected.Update(Word(frame[0]));
            for (int s = 0; s < 3; ++s)
                if (Word(frame[s + 1]) != expected.ReadWord(set.signals[s].virtualAddress)) return false;
            return true;
        };
        std::optional<size_t> first;
        size_t looked = 0;
        const std::vector<SampleValues> frames = line.Read(
            [&](const std::vector<SampleValues>& got) {
                for (; !first && looked < got.size(); ++looked)
                    if (matches(got[looked])) first = looked;
                return first && got.size() >= *first + set.periods;
            },
            15s);
        ASSERT_TRUE(first) << set.signals[0].name << ", " << set.signals[1].name << " and " << set.signals[2].name
                           << ": no frame holds the virtual MPU's values (" << frames.size() << " frames read)";
        ASSERT_GE(frames.size(), *first + set.periods) << "the board stopped sending";
        for (size_t i = *first; i < frames.size(); ++i) {
            const SampleValues& frame = frames[i];
            expected.Update(Word(frame[0]));
            for (int s = 0; s < 3; ++s)
                ASSERT_EQ(Word(frame[s + 1]), expected.ReadWord(set.signals[s].virtualAddress))
                    << set.signals[s].name << " at k = " << Word(frame[0]);
            if (i > *first) {
                ASSERT_TRUE(Follows(frames[i - 1][0], frame[0])) << "a frame is missing before " << i;
            }
        }
    }
}

// A request whose CRC does not match is dropped whole, whatever the damage, and the next sound one
// is taken. The frames tell by their fixed words which request the board follows.
TEST_F(EmulatedBoard, IgnoresADamagedRequestAndTakesTheNextSoundOne) {
    struct Damage {
        const char* what;
        size_t byte;
        uint8_t flip;
    };
    const Damage damages[] = {
        {"one bit of the CRC", 16, 0x01},
        {"the CRC's high byte", 17, 0xFF},
        {"one bit of an address", 5, 0x08},
        {"an address's high byte", 3, 0x40},
    };
    // What each request's frames hold on CH2 and CH3.
    const std::array<int16_t, 2> first = {1, 256};
    const std::array<int16_t, 2> second = {-1, 32767};
    const auto holding = [](const std::array<int16_t, 2>& words) {
        return [words](const SampleValues& frame) { return frame[1] == words[0] && frame[2] == words[1]; };
    };

    ASSERT_NO_FATAL_FAILURE(StartBoard());
    BoardLine line(device_);
    line.Send(BuildRequestFrame(Channels({"sample_counter", "constants.one", "constants.k256", kTickCounter})));
    const auto firstTaken = [&](const std::vector<SampleValues>& frames) {
        return !frames.empty() && holding(first)(frames.back());
    };
    ASSERT_TRUE(firstTaken(line.Read(firstTaken, 10s))) << "the board never answered the first request";

    const RequestFrame sound = BuildRequestFrame(Channels({"sample_counter", "constants.minus_one", "constants.max",
                                                           kTickCounter}));
    for (const Damage& damage : damages) {
        RequestFrame damaged = sound;
        damaged[damage.byte] ^= damage.flip;
        line.Send(damaged);
        // Ample time for the request to arrive and be judged: 200 periods.
        const std::vector<SampleValues> frames = line.ReadFrames(200, 10s);
        ASSERT_EQ(frames.size(), 200u) << "the board stopped sending after a request with " << damage.what;
        for (size_t i = 0; i < frames.size(); ++i) {
            ASSERT_TRUE(holding(first)(frames[i])) << "frame " << i << " after a request with " << damage.what << " holds "
                                                   << frames[i][1] << " and " << frames[i][2];
            if (i > 0) {
                ASSERT_TRUE(Follows(frames[i - 1][0], frames[i][0])) << "a frame is missing before " << i;
            }
            // The tick counter moves with the periods, request or no request.
            ASSERT_TRUE(Follows(frames[i][0], frames[i][3])) << "frame " << i;
        }
    }

    line.Send(sound);
    std::vector<SampleValues> frames = line.ReadFrames(200, 10s);
    size_t taken = 0;
    while (taken < frames.size() && !holding(second)(frames[taken])) ++taken;
    ASSERT_LT(taken, frames.size()) << "the board never took the sound request after the damaged ones";
    for (size_t i = taken; i < frames.size(); ++i)
        ASSERT_TRUE(holding(second)(frames[i])) << "frame " << i << " went back to the first request's words";
    for (size_t i = 0; i < taken; ++i) ASSERT_TRUE(holding(first)(frames[i])) << "frame " << i;
}

TEST_F(EmulatedBoard, QemuDyingIsALostDeviceForTheRecorder) {
    ASSERT_NO_FATAL_FAILURE(StartBoard());
    ChildProcess capture(CaptureArgs("sample_counter,constants.k256,-,constants.max", {"--frames", "100000000"}),
                         CaptureLog());
    std::this_thread::sleep_for(1500ms);

    ASSERT_NO_FATAL_FAILURE(KillQemu());
    const std::optional<int> status = capture.WaitForExit(3s);
    const std::string said = ReadFile(CaptureLog());
    ASSERT_TRUE(status) << "still recording 3 s after QEMU died; it said:\n" << said;
    EXPECT_EQ(ExitCode(*status), 1) << said;
    EXPECT_NE(said.find("ondrix-capture: COM1 lost: "), std::string::npos) << said;
    const auto figures = ParseFigures(LastLine(said));
    ASSERT_TRUE(figures) << "the last line is not the figures line:\n" << said;
    EXPECT_EQ(figures->losses, 1u);

    const std::vector<Row> rows = ParseTsv(ReadFile(Tsv()));
    ASSERT_FALSE(rows.empty()) << said;
    EXPECT_EQ(rows.size(), figures->frames);
    EXPECT_TRUE(Unbroken(rows, 0, rows.size(), 256, 32767));
}

TEST_F(EmulatedBoard, ARestartedBoardIsRejoined) {
    ASSERT_NO_FATAL_FAILURE(StartBoard());
    ChildProcess capture(CaptureArgs("sample_counter,constants.k256,-,constants.max", {"--reconnect", "--seconds", "4"}),
                         CaptureLog());
    std::this_thread::sleep_for(1500ms);

    ASSERT_NO_FATAL_FAILURE(KillQemu());
    // Long enough for the recorder to notice and find COM1 gone at least once.
    std::this_thread::sleep_for(300ms);
    const auto restarted = ProcessClock::now();
    ASSERT_NO_FATAL_FAILURE(StartBoard());

    const std::optional<int> status = capture.WaitForExit(20s);
    const auto sinceRestart = std::chrono::duration_cast<std::chrono::milliseconds>(ProcessClock::now() - restarted);
    const std::string said = ReadFile(CaptureLog());
    ASSERT_TRUE(status) << "still recording long after its 4 s; it said:\n" << said;
    EXPECT_EQ(ExitCode(*status), 0) << said;
    const auto figures = ParseFigures(LastLine(said));
    ASSERT_TRUE(figures) << "the last line is not the figures line:\n" << said;
    EXPECT_EQ(figures->losses, 1u);

    const std::vector<Row> rows = ParseTsv(ReadFile(Tsv()));
    std::vector<size_t> breaks;
    for (size_t i = 1; i < rows.size(); ++i)
        if (rows[i].x != rows[i - 1].x + 1) breaks.push_back(i);
    ASSERT_EQ(breaks.size(), 1u) << "X should jump once, at the gap; it said:\n" << said;
    const size_t gap = breaks.front();
    EXPECT_EQ(rows[gap].x, rows[gap - 1].x + 2) << "the gap takes exactly one X value";
    EXPECT_TRUE(Unbroken(rows, 0, gap, 256, 32767));
    // Unbroken after the gap also shows that the new board was told the addresses.
    EXPECT_TRUE(Unbroken(rows, gap, rows.size(), 256, 32767));
    // The new board counts from 0: no sample after the gap counts further than it has run.
    EXPECT_LT(rows[gap].values[0], rows[gap - 1].values[0]) << "the counter did not restart with the new board";
    EXPECT_LE(rows.back().values[0], sinceRestart.count() * kFramesPerSecond / 1000 + 50)
        << "samples after the gap count further than the new board has run (" << sinceRestart.count() << " ms)";
}

// Stopped by a signal, the board stops QEMU and gives COM1 up; killed outright, it cannot give
// COM1 up, but takes QEMU with it all the same.
TEST_F(EmulatedBoard, TakesQemuWithItWhenStopped) {
    struct Stop {
        int signal;
        int exitCode;
        bool linkRemoved;
    };
    for (const Stop stop : {Stop{SIGTERM, 0, true}, Stop{SIGINT, 0, true}, Stop{SIGHUP, 0, true},
                            Stop{SIGKILL, 128 + SIGKILL, false}}) {
        SCOPED_TRACE(strsignal(stop.signal));
        ASSERT_NO_FATAL_FAILURE(StartBoard());
        board_process_->Signal(stop.signal);
        const std::optional<int> status = board_process_->WaitForExit(10s);
        ASSERT_TRUE(status) << ReadFile(BoardLog());
        EXPECT_EQ(ExitCode(*status), stop.exitCode) << ReadFile(BoardLog());
        EXPECT_TRUE(WaitFor([&] { return QemuGone(); }, 5s)) << "QEMU (pid " << qemu_ << ") outlived the board";
        EXPECT_EQ(!fs::exists(fs::symlink_status(PortLink())), stop.linkRemoved);
    }
}

// ---- The program's options -------------------------------------------------------------------

TEST(EmulatedBoardProgram, AnswersHelpAndRefusesWhatItCannotRun) {
    test::TemporaryFolder folder;
    const fs::path notElf = folder.Path() / "notes.txt";
    std::ofstream(notElf) << "not a firmware\n";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, 0, "Usage: ondrix-board"},
        {{"--verbose"}, 2, "unknown option \"--verbose\""},
        {{"--link", "COM0"}, 2, "--link wants a port name such as COM9, not \"COM0\""},
        {{"--link", "ttyS1"}, 2, "--link wants a port name"},
        {{"--link"}, 2, "--link needs a value"},
        {{"--fast", "--elf", notElf.string()}, 2, "--fast chooses the demo firmware's fast build"},
        {{"--elf", (folder.Path() / "missing.elf").string()}, 1, "No such file or directory"},
        {{"--elf", notElf.string()}, 1, "not an ELF file for a 32-bit ARM core"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {ONDRIX_BOARD_PROGRAM};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(args.back());
        const fs::path log = folder.Path() / "board.log";
        ChildProcess board(args, log);
        const std::optional<int> status = board.WaitForExit(10s);
        ASSERT_TRUE(status) << ReadFile(log);
        EXPECT_EQ(ExitCode(*status), c.exitCode) << ReadFile(log);
        EXPECT_NE(ReadFile(log).find(c.says), std::string::npos) << ReadFile(log);
    }
}

}  // namespace
}  // namespace ondrix
